// A position in the client's mail list, as TwnCur reads it.
#ifndef CORE_POSITION_H
#define CORE_POSITION_H

// The argument must consist of the ASCII digits 0 to 9 only; an empty
// one does and reads as 0. Any other byte (a sign, a blank) makes it no
// position: false, and *position is left alone. Leading zeros count for
// nothing. A value beyond INT_MAX reads as INT_MAX, a position past the
// end of any list: it must neither wrap into a real position nor into
// -1, which would address every item.
bool read_position(const char *text, int *position);

#endif
