// The link test compiled as C++: the header's extern "C" block must give the
// same decorated stdcall names as C.
#include "link_test.c"
