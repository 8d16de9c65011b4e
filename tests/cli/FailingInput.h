#pragma once

#include <cerrno>
#include <ios>
#include <streambuf>
#include <string>

namespace soten::test {

// An input that hands out its text once, then fails as a disk or a folder
// on standard input does: the next read throws with errno set to EIO.
class FailingInput : public std::streambuf {
public:
    explicit FailingInput(std::string text) : text_(std::move(text)) {}

protected:
    int_type underflow() override {
        if (given_) {
            errno = EIO;
            throw std::ios_base::failure("read error");
        }
        given_ = true;
        setg(text_.data(), text_.data(), text_.data() + text_.size());
        return traits_type::to_int_type(text_[0]);
    }

private:
    std::string text_;
    bool given_ = false;
};

}  // namespace soten::test
