#pragma once
// A handle of one index tag of an open table.

#include "Expr4.h"

#include <memory>
#include <string>

namespace orv {

struct Data4;

struct Tag4 {
    Data4* data = nullptr;
    int index = -1;     // tag number inside the production index
    std::string name;   // upper case
    int unique = 0;     // this handle's unique handling; always 0 on a tag the file does not mark unique
    bool uniqueTag = false;
    bool candidateTag = false;
    bool descending = false;
    int keyLength = 0;
    std::unique_ptr<Expr4> key;
    std::unique_ptr<Expr4> filter; // null: every record
};

// Sets the handle's unique handling: on a unique tag 20, 25 or e4unique; on a candidate tag 15
// or e4candidate. Anything else is error e4parm. Nothing is written to the file.
int t4uniqueSet(Tag4* tag, int value);
int t4unique(const Tag4* tag);
const char* t4alias(const Tag4* tag);
// The key expression's text and the filter's text (empty when none).
const std::string& t4expr(const Tag4* tag);
const std::string& t4filter(const Tag4* tag);

} // namespace orv
