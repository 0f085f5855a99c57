// The program's failures: exceptions with fixed texts that reach the application's error box.
#pragma once
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }
private:
    std::string FMessage;
};

// "Unable to write to %s" and friends: the formatted text of a message with one %s or %d.
std::string Format(const char* pattern, const std::string& arg);
std::string Format(const char* pattern, int arg);
