// The script engine's manager. This form only records which scripts the
// game asked to start; running them comes with the script engine.
#pragma once
#include <string>
#include <vector>

class CScriptManager {
public:
    // Starts the named script; 0 when it cannot (this form: always, after
    // recording the request).
    static int Load(const char* name);
    // The names asked for since the last reset, oldest first.
    static const std::vector<std::string>& Requests();
    static void Reset();
};
