// The scripted server's side of a log-in straight onto the first stage: slot
// 1 ("Mira") played, the connect sequence's exchanges answered, the given
// record sent as field 50 and the field entry answered at a cell; then the
// client's intro scene starts connecting. The caller runs the frames.
#pragma once
#include <cstdint>

#include "fixtures/ArchiveBuilder.h"
#include "support/FakeServer.h"

// CIntroArchive::Game() with my character's figure ("eric.obr": kind 0, its
// animations) and a first stage of size x size open ground.
CArchiveBuilder FieldArchive(int size);
// Every in-game window's picture, 32 x 32: a window slides only with its
// picture (its buttons' pictures are not added).
void AddWindowPictures(CArchiveBuilder& b);

// record: the 436 bytes of field 50.
void StartFieldLogIn(CFakeServer& server, uint16_t id, uint16_t x, uint16_t y, const Bytes& record);
