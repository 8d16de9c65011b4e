#pragma once

#include <array>
#include <bitset>
#include <cstdint>

namespace soten {

// Flags of a settings record's field mask. The values are those of the Windows
// device mode the layer was designed around, so a record reads the same in a
// log or a debugger whichever printing service filled it.
namespace DeviceField {
inline constexpr std::uint32_t Orientation = 0x00000001;
inline constexpr std::uint32_t PaperSize = 0x00000002;
inline constexpr std::uint32_t PaperLength = 0x00000004;
inline constexpr std::uint32_t PaperWidth = 0x00000008;
inline constexpr std::uint32_t Scale = 0x00000010;
inline constexpr std::uint32_t Copies = 0x00000100;
inline constexpr std::uint32_t DefaultSource = 0x00000200;
inline constexpr std::uint32_t PrintQuality = 0x00000400;
inline constexpr std::uint32_t Color = 0x00000800;
inline constexpr std::uint32_t Duplex = 0x00001000;
inline constexpr std::uint32_t YResolution = 0x00002000;
inline constexpr std::uint32_t TTOption = 0x00004000;
inline constexpr std::uint32_t Collate = 0x00008000;
inline constexpr std::uint32_t FormName = 0x00010000;
inline constexpr std::uint32_t LogPixels = 0x00020000;
inline constexpr std::uint32_t PanningWidth = 0x08000000;
inline constexpr std::uint32_t PanningHeight = 0x10000000;
}  // namespace DeviceField

// Paper numbers, orientation, colour and duplex codes as the record holds them.
inline constexpr std::int32_t PaperA4 = 9;
inline constexpr std::int32_t PaperUserDefined = 256;
inline constexpr std::int16_t OrientationPortrait = 1;
inline constexpr std::int16_t OrientationLandscape = 2;
inline constexpr std::int16_t ColorMonochrome = 1;
inline constexpr std::int16_t ColorColor = 2;
inline constexpr std::int16_t DuplexSimplex = 1;
inline constexpr std::int16_t DuplexLongEdge = 2;
inline constexpr std::int16_t DuplexShortEdge = 3;

// One printer's settings: the field mask tells which of the values the printer
// uses; the others are carried along unread. The record holds only what the
// program sets or hands back to the printing service.
struct PrinterSettings {
    std::uint32_t fields = 0;
    std::int16_t orientation = OrientationPortrait;
    std::int32_t paperSize = PaperA4;
    std::int16_t paperLength = 0;  // tenths of a millimetre, portrait
    std::int16_t paperWidth = 0;
    std::int16_t scale = 100;  // percent
    std::int16_t copies = 1;
    std::int16_t color = ColorColor;
    std::int16_t duplex = DuplexSimplex;
    std::int16_t collate = 0;

    bool Has(std::uint32_t field) const { return (fields & field) != 0; }
    bool operator==(const PrinterSettings&) const = default;
};

// The settings the layer reports as supported, in the order of its 17 flags.
enum class PrinterSetting {
    Orientation,
    PaperSize,
    PaperLength,
    PaperWidth,
    Scale,
    Copies,
    DefaultSource,
    PrintQuality,
    Color,
    Duplex,
    YResolution,
    TTOption,
    Collate,
    FormName,
    LogPixels,
    PanningWidth,
    PanningHeight,
};

inline constexpr std::size_t PrinterSettingCount = 17;

// The field flag behind each of the 17 settings, indexed by PrinterSetting.
inline constexpr std::array<std::uint32_t, PrinterSettingCount> SettingFieldFlags = {
    DeviceField::Orientation,   DeviceField::PaperSize,     DeviceField::PaperLength,
    DeviceField::PaperWidth,    DeviceField::Scale,         DeviceField::Copies,
    DeviceField::DefaultSource, DeviceField::PrintQuality,  DeviceField::Color,
    DeviceField::Duplex,        DeviceField::YResolution,   DeviceField::TTOption,
    DeviceField::Collate,       DeviceField::FormName,      DeviceField::LogPixels,
    DeviceField::PanningWidth,  DeviceField::PanningHeight,
};

// The supported-settings set: flag i is set when the record's field mask holds
// the field flag of setting i.
class SupportedSettingSet {
public:
    static SupportedSettingSet FromFields(std::uint32_t fields) {
        SupportedSettingSet settings;
        for (std::size_t i = 0; i < PrinterSettingCount; ++i) {
            settings.flags_[i] = (fields & SettingFieldFlags[i]) != 0;
        }
        return settings;
    }

    bool Has(PrinterSetting setting) const { return flags_[static_cast<std::size_t>(setting)]; }
    std::size_t Count() const { return flags_.count(); }
    bool operator==(const SupportedSettingSet&) const = default;

private:
    std::bitset<PrinterSettingCount> flags_;
};

}  // namespace soten
