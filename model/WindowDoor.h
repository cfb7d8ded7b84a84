#pragma once
// The household command `windoor` ("窗分户号"): selected windows get a household name, with
// each window's own floor in front of it ("5-A") when the user wants it, and the household's
// room count. The command asks for the next windows until a question is cancelled.
#include "CString.h"

// The household name an earlier cycle suggests: the text after the first "-" found from the
// second character on (so "3-A" suggests "A"), else the household itself.
CString SuggestedDoorName(const CString& door);

// Asks the household name (the suggestion in name) and whether to prefix the floor. 1 with
// both set, 0 when the user ended the command.
int AskDoorName(CString& name, int& prefix);
// Asks the room count (offered as count) until it lies in 1..50. 1 with it set, 0 when
// cancelled.
int AskRoomCount(int& count);
// The cycles of the command: select, ask, write. Ends when a question is cancelled.
void SetWindowDoor();
