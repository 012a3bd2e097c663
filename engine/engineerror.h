#pragma once
// Base of the engine's exceptions. Each engine unit raises its own subclass
// (EBitString, EGA); the message begins with the unit's subject and a colon.
#include <exception>
#include <string>

class EEngine : public std::exception {
public:
    explicit EEngine(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};
