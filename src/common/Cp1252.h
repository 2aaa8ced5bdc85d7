#pragma once
#include <string>
#include <string_view>

// Batch files, reference files and the database hold Windows-1252 text; the program's own texts
// are written as UTF-8. These convert at the edge where the two meet.
namespace velt::cp1252 {

// Windows-1252 bytes to UTF-8. The five undefined bytes map to the C1 control of the same value.
std::string toUtf8(std::string_view cp1252);

// UTF-8 to Windows-1252 bytes; a character Windows-1252 cannot hold becomes '?'.
std::string fromUtf8(std::string_view utf8);

}  // namespace velt::cp1252
