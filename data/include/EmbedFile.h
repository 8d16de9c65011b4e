#pragma once

#include <cstddef>
#include <string_view>

// Includes a file's bytes at assembly time, between the symbols
// <symbol>_begin and <symbol>_end, with a NUL after them; SOTEN_EMBEDDED
// declares the two and gives the bytes as a string_view.
#define SOTEN_EMBED_FILE(symbol, file)        \
    asm(".pushsection .rodata\n"              \
        ".global " #symbol "_begin\n" #symbol \
        "_begin:\n"                           \
        ".incbin \"" file                     \
        "\"\n"                                \
        ".global " #symbol "_end\n" #symbol   \
        "_end:\n"                             \
        ".byte 0\n"                           \
        ".popsection\n")

#define SOTEN_EMBEDDED_SYMBOLS(symbol)      \
    extern "C" const char symbol##_begin[]; \
    extern "C" const char symbol##_end[]

#define SOTEN_EMBEDDED(symbol) \
    std::string_view(symbol##_begin, static_cast<std::size_t>(symbol##_end - symbol##_begin))
