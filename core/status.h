#pragma once

#include <string>
#include <utility>

namespace kvt {

// Outcome of an operation that can fail with a message for the user.
class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    static Status Fail(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return message_; }

private:
    Status() = default;
    explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}

    bool failed_ = false;
    std::string message_;
};

}  // namespace kvt
