#pragma once
// The counted texts of the records of versions below 4.0 (legacy windows and buildings): a
// 32-bit byte count, then the bytes without a terminator. Those versions read such a text
// into a buffer of 128 bytes, so a text keeps at most 127 bytes.
#include "CString.h"
#include "SerializeFilter.h"

void WriteLegacyText(SerializeFilter& filter, const CString& text);

// Reads every byte the count claims, so the stream stays in step with the record, and keeps
// the text up to its first zero byte, at most 127 bytes cut on a character boundary. A
// negative count, or one larger than what is left of the record, refuses the record
// (host::RecordError).
CString ReadLegacyText(SerializeFilter& filter);
