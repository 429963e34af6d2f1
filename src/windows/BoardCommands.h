// The dispatcher's rows of the bulletin boards and the mailbox: opening a
// board or the mail on its own connection, the list and reader buttons'
// requests (one in 45 passes), reading, writing, searching and erasing.
#pragma once

class CDaradirUzedo;

// Runs one of the ids 48..63 and 66..68; false for any other id.
bool RunBoardCommand(CDaradirUzedo& ui, int id);
