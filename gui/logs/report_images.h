// Resource paths of the images the report pages show, and which of them go beside a saved page.
#pragma once

#include <cstdint>

namespace report_images {

#define KOLV_STATUS_IMAGE(name) ":/kolv_lite/Resources/Images/Statuses/" name

inline constexpr const char* kBigOk = KOLV_STATUS_IMAGE("icn_OK_big.png");
inline constexpr const char* kBigError = KOLV_STATUS_IMAGE("icn_Error_big.png");
inline constexpr const char* kBigUnsupported = KOLV_STATUS_IMAGE("icn_Unsupported_big.png");
inline constexpr const char* kBigWarning = KOLV_STATUS_IMAGE("icn_Warning_big.png");
inline constexpr const char* kBigAborted = KOLV_STATUS_IMAGE("icn_Aborted_big.png");
inline constexpr const char* kBigInvalid = KOLV_STATUS_IMAGE("icn_Invalid_big.png");
inline constexpr const char* kBigBroken = KOLV_STATUS_IMAGE("icn_Broken_big.png");

inline constexpr const char* kSmallOk = KOLV_STATUS_IMAGE("icn_OK16x16.png");
inline constexpr const char* kSmallError = KOLV_STATUS_IMAGE("icn_Error16x16.png");
inline constexpr const char* kSmallUnsupported = KOLV_STATUS_IMAGE("icn_Unsupported16x16.png");
inline constexpr const char* kSmallWarning = KOLV_STATUS_IMAGE("icn_Warning16x16.png");
inline constexpr const char* kSmallAborted = KOLV_STATUS_IMAGE("icn_Aborted16x16.png");
inline constexpr const char* kSmallInvalid = KOLV_STATUS_IMAGE("icn_Invalid_16x16.png");
inline constexpr const char* kSmallBroken = KOLV_STATUS_IMAGE("icn_Broken_16x16.png");

#undef KOLV_STATUS_IMAGE

// Background of the title bars of the device information pages.
inline constexpr const char* kDeviceHeaderBackground =
    ":/kolv_lite/Resources/Images/Reports/log_device_header_bg.png";

// Written beside a saved page when the page refers to them. The loading animation is never
// part of a report, so it is not among them.
inline constexpr const char* kExported[] = {
    kBigOk,         kBigError,        kBigUnsupported,   kBigWarning,   kBigAborted,
    kBigInvalid,    kBigBroken,       kSmallOk,          kSmallError,   kSmallUnsupported,
    kSmallWarning,  kSmallAborted,    kSmallInvalid,     kSmallBroken,  kDeviceHeaderBackground,
};

// Small image of an entry status (0 success ... 6 broken); empty outside that range.
inline const char* SmallImage(int status) {
  static constexpr const char* kByStatus[] = {kSmallOk,      kSmallError,   kSmallUnsupported,
                                              kSmallAborted, kSmallWarning, kSmallInvalid,
                                              kSmallBroken};
  return status >= 0 && status < 7 ? kByStatus[status] : "";
}

}  // namespace report_images
