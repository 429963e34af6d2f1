// The dispatcher's rows of the group, profile and hair-colour windows: the
// group buttons, invitations and duels with the character of the profile
// record, and the hair colour.
#pragma once

class CDaradirUzedo;

// Runs one of the ids 8, 9, 10, 22, 23, 25, 26, 27, 28, 117, 143; false for
// any other id.
bool RunProfileCommand(CDaradirUzedo& ui, int id);
