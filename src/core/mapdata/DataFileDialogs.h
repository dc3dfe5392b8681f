#pragma once

#include <string>

namespace stonereach {

enum class ErrorChoice { Ok, Cancel };

// What the data file set asks of the window: the error dialog for a file that
// cannot be opened or closed, and the folder browser for the client directory.
class DataFileDialogs {
public:
    virtual ~DataFileDialogs() = default;
    // Shows "Error detected :" with the title and detail; OK carries on,
    // Cancel asks to quit without saving.
    virtual ErrorChoice showErrorDetected(const std::string& title, const std::string& detail) = 0;
    // Shows the folder browser. On confirm the window puts the chosen folder
    // into its client directory edit, which reports the change back through
    // DataFileSet::changeClientDirectory.
    virtual void browseClientDirectory() = 0;
};

} // namespace stonereach
