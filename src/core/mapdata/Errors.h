#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace stonereach {

// Base of every error the core raises; the windows and the command-line tool
// catch this one type at their boundary and show what() to the user.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed open, seek, read, short read, write, rename or close. The message
// names the file and the cause.
class IoError : public Error {
public:
    IoError(const std::string& path, const std::string& cause)
        : Error(cause + " (file '" + path + "')"), path_(path), cause_(cause) {}
    const std::string& path() const { return path_; }
    const std::string& cause() const { return cause_; }

private:
    std::string path_;
    std::string cause_;
};

// A write that failed after the first stored() bytes of its data reached the
// file. Writers that must not leave part of a record changed use the count to
// finish or undo the record that the failure cut.
class WriteError : public IoError {
public:
    WriteError(const std::string& path, const std::string& cause, std::size_t stored)
        : IoError(path, cause), stored_(stored) {}
    std::size_t stored() const { return stored_; }

private:
    std::size_t stored_;
};

// A text that is not a valid integer value in the program's integer syntax.
class ConversionError : public Error {
public:
    explicit ConversionError(const std::string& text)
        : Error("'" + text + "' is not a valid integer value"), text_(text) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// A coordinate, id or geometry outside what the file or table allows.
class RangeError : public Error {
public:
    using Error::Error;
};

// A file whose contents break a fixed rule of its format; the message is the
// program's own fixed text.
class FormatError : public Error {
public:
    using Error::Error;
};

// A file named as a UOP container that cannot be used as one: the message
// names the file and the fault ("the table chain loops back to offset 512").
class ContainerError : public FormatError {
public:
    ContainerError(const std::string& path, const std::string& fault)
        : FormatError("'" + path + "' cannot be used as a UOP container: " + fault), path_(path), fault_(fault) {}
    const std::string& path() const { return path_; }
    const std::string& fault() const { return fault_; }

private:
    std::string path_;
    std::string fault_;
};

// The program declining a request with one of its own fixed messages (wrong
// coordinates, an unknown map, an empty patch file). The message is shown to
// the user exactly as it stands, with nothing added.
class Refusal : public Error {
public:
    using Error::Error;
};

} // namespace stonereach
