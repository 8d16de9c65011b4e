#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace soten {

// Paper numbers, orientation and colour codes as the record holds them.
inline constexpr std::int32_t PaperA4 = 9;
inline constexpr std::int32_t PaperUserDefined = 256;  // a size without a number of its own
inline constexpr std::int16_t OrientationPortrait = 1;
inline constexpr std::int16_t OrientationLandscape = 2;
inline constexpr std::int16_t ColorMonochrome = 1;
inline constexpr std::int16_t ColorColor = 2;

// The settings a printout sets, each only where the printer accepts it.
enum class PrinterSetting { Orientation, PaperSize, Scale, Color };

inline constexpr std::size_t PrinterSettingCount = 4;

// The settings a printer accepts.
class SupportedSettingSet {
public:
    SupportedSettingSet() = default;
    SupportedSettingSet(std::initializer_list<PrinterSetting> settings) {
        for (const PrinterSetting setting : settings) Add(setting);
    }

    void Add(PrinterSetting setting) { flags_.set(static_cast<std::size_t>(setting)); }
    bool Has(PrinterSetting setting) const { return flags_[static_cast<std::size_t>(setting)]; }
    bool operator==(const SupportedSettingSet&) const = default;

private:
    std::bitset<PrinterSettingCount> flags_;
};

// One printer's settings: `supported` tells which of the values the printer
// takes; the others are carried along unread. Whatever else the printer was
// given in the print dialog (copies, duplex, the paper tray) stays with the
// printer and is not part of the record.
struct PrinterSettings {
    SupportedSettingSet supported;
    std::int16_t orientation = OrientationPortrait;
    std::int32_t paperSize = PaperA4;
    std::int16_t scale = 100;  // percent
    std::int16_t color = ColorColor;

    bool operator==(const PrinterSettings&) const = default;
};

}  // namespace soten
