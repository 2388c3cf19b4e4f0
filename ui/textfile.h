// Sequential text input by file number.
//
// A file is a stream of numbers separated by line ends or commas (blanks and
// tabs around them are ignored). A field that is not a decimal number (a
// word, binary bytes, "inf", "nan") is skipped: the read takes the next
// number. The file is read in large blocks and parsed without locale, so the
// decimal separator is always ".".
#pragma once

#include <cstdint>
#include <string>

namespace ui::files {

// Opens path for sequential input as file number num (1 to 255), closing
// whatever that number had open. False when it cannot be opened (missing,
// a directory, no access).
bool Open(int num, const std::string& path);
bool IsOpen(int num);
// Closing a number that is not open is no error.
void Close(int num);
void CloseAll();

// Reads the next number. False at the end of the file or when the file is
// not open or unreadable; the value is then unchanged.
bool Input(int num, double& value);
// Reads the next number into single precision.
bool InputSingle(int num, float& value);
// Reads the next number rounded to an integer (halves to even); false also
// when it does not fit a 16-bit integer or is not finite.
bool InputInt16(int num, int16_t& value);

}  // namespace ui::files
