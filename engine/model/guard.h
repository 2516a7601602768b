#pragma once
// Every procedure guards its body: a run-time failure shows "Error in " and the procedure's name
// once, and the procedure ends with its default result. The body is never run a second time, since
// a half-done body may already have applied part of its change.

#include <exception>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace dv {

// A run-time failure of the engine's own making (a bad index, a step that cannot be done).
struct RunFault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void ReportError(const char* procedure);
// "Error in ", the procedure's name, ": " and the detail (the file and the reason, say).
void ReportError(const char* procedure, const std::string& detail);

// Counts one more level of a nesting depth for as long as it lives, whichever way the scope is
// left, so that the bounds on recursion read a true depth after a failure too.
class DepthCount {
  public:
    explicit DepthCount(int& depth) : depth_(depth) { ++depth_; }
    ~DepthCount() { --depth_; }
    DepthCount(const DepthCount&) = delete;
    DepthCount& operator=(const DepthCount&) = delete;

  private:
    int& depth_;
};

template <class Body>
std::invoke_result_t<Body> Guarded(const char* procedure, std::invoke_result_t<Body> fallback,
                                   Body&& body) {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception&) {
        ReportError(procedure);
        return fallback;
    }
}

template <class Body>
void Guarded(const char* procedure, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const std::exception&) {
        ReportError(procedure);
    }
}

// As Guarded, for a procedure at work on one file: with several files, "Error in " and the name
// alone would not say which file failed, nor why. The message names the file and the reason.
template <class Body>
std::invoke_result_t<Body> GuardedFile(const char* procedure, const std::string& file,
                                       std::invoke_result_t<Body> fallback, Body&& body) {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& e) {
        ReportError(procedure, file + ": " + e.what());
        return fallback;
    }
}

template <class Body>
void GuardedFile(const char* procedure, const std::string& file, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& e) {
        ReportError(procedure, file + ": " + e.what());
    }
}

}  // namespace dv
