// The program's string table: texts by id, CP949.
#pragma once

// The text of a string-table id; "" for an id the table does not hold. The
// few texts that have an English form give it unless the locale is Korean.
const char* GetGameString(int id);

// Ids the shell and the transport use by name.
enum : int {
    IDS_VERSION_MISMATCH = 6,
    IDS_CONNECTION_LOST = 9,
    IDS_FILE_UNREADABLE = 38,
    IDS_PROTOCOL_ERROR = 40,
    IDS_RESOURCE_DAMAGED = 41,
    IDS_SERVER_UNAVAILABLE = 43,
};
