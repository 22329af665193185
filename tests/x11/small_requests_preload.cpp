// Loaded into the program with LD_PRELOAD: an X server that takes requests of 16 KB at most (the
// protocol lets a server go as low as 4 KB). The program then answers the clipboard for any text
// longer than that incrementally, so a test can meet it with misbehaving incremental readers
// using a text the output field can hold.
#include <X11/Xlib.h>

extern "C" long XMaxRequestSize(Display*) {
    return 4096;  // in 4-byte units
}
