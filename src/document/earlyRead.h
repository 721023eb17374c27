// The command-line file, read on a thread of its own while the window system
// starts up: under Wine that start-up takes about as long as reading a large
// file, and the two then overlap instead of adding up.
#pragma once

// Starts reading `path` into the document. Without a thread the file is
// simply read when it is loaded, as any other.
void startEarlyRead(const wchar_t* path);

// Waits until the early read has ended. Nothing else may use the document
// before this returns.
void awaitEarlyRead();

// For the way out before the file's load: ends the read, and the filter it
// may have started, within a second.
void abandonEarlyRead();

// For the load of `path`: when the early read was of that file, gives 1 with
// *ok set to its result, once. Otherwise 0 and the file is read anew.
int takeEarlyRead(const wchar_t* path, int* ok);
