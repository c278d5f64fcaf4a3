// How a function that can fail says so: a result the caller must look at,
// carrying either the value or the message that says why there is none.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace game {

// The failure of a Result: the message, naming what failed and why.
struct Failure {
    std::string message;
};

[[nodiscard]] inline Failure failure(std::string message) { return Failure{std::move(message)}; }

// A value of T, or a failure's message.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failed) : error_(std::move(failed.message)) {}

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const std::string& error() const { return error_; }

private:
    std::optional<T> value_;
    std::string error_;
};

// Success, or a failure's message: for functions with nothing else to give back.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Failure failed) : error_(std::move(failed.message)), failed_(true) {}

    explicit operator bool() const { return !failed_; }
    const std::string& error() const { return error_; }

private:
    std::string error_;
    bool failed_ = false;
};

}  // namespace game
