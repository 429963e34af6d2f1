// The root of the exceptions the game throws (only the archive's missing-entry
// exception derives from it). Thrown by value, caught as const CException&.
#pragma once
#include <cstdint>
#include <string>

class CException {
public:
    virtual ~CException() = default;
    // Shows the error to the user; returns the box's result.
    virtual int ReportError(uint32_t nType = 0, uint32_t nMessageID = 0) = 0;
    // The error's text; false when there is none.
    virtual bool GetErrorMessage(std::string& text) const = 0;
};
