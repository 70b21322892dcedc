#pragma once
// One field of an open table: where it lies in the record buffer.

#include <string>
#include <string_view>

namespace orv {

struct Data4;

struct Field4 {
    Data4* data = nullptr;
    std::string name;
    char type = 'C';
    int width = 0;
    int decimals = 0;
    int offset = 0; // inside the record; the first field is at 1, after the deletion flag
};

// The stored text, width characters with its trailing blanks.
std::string f4str(const Field4* field);
// The same text where it lies in the record buffer: valid until the table moves to another
// record or the field is assigned. Empty for a null field.
std::string_view f4view(const Field4* field);
// Decimal conversion of the leading digits (optional blanks and sign first); 0 without digits.
long f4long(const Field4* field);
// Copies the text into the record buffer, cut to the width or padded with blanks, and marks the
// buffer changed. Returns 0, or e4lock when writeRequiresLock is on and the record is not
// locked (the buffer is then unchanged), or e4parmNull / -1 as any operation.
int f4assign(Field4* field, std::string_view text);
int f4len(const Field4* field);
int f4decimals(const Field4* field);
char f4type(const Field4* field);
const char* f4name(const Field4* field);

} // namespace orv
