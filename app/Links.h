// Where the program's links lead: its home page and its support address.
#pragma once

namespace nb {

inline constexpr char16_t kHomePageAddress[] = u"https://nightbroom.example/";
inline constexpr char16_t kSupportAddress[] = u"support@nightbroom.example";

}  // namespace nb
