#include "cli/RunAction.h"

#include <exception>
#include <iostream>
#include <new>

#include "mapdata/Errors.h"

namespace stonereach::cli {

int runReportingFailures(const Action& action) {
    try {
        return action ? action() : ExitUsage;
    } catch (const stonereach::Error& e) {
        std::cerr << "stonereach-cli: " << e.what() << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "stonereach-cli: Not enough memory for this operation\n";
    } catch (const std::exception& e) {
        std::cerr << "stonereach-cli: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "stonereach-cli: The operation failed for an unknown reason\n";
    }
    return ExitFailed;
}

} // namespace stonereach::cli
