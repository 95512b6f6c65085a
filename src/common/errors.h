#pragma once
// The two kinds of failure the core reports by exception.
//   IoError     - a file could not be opened, read, created, written or renamed,
//                 or it ended before everything it declares was read.
//   FormatError - the bytes were read but are refused: a count past a capacity,
//                 a value out of range, a record the program cannot use.
// Both carry a complete English sentence meant for the user.
#include <stdexcept>
#include <string>

namespace cw {

class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace cw
