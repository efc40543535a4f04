// frei0r's own header declares its entry points without C linkage for C++; this include
// gives them the C names the hosts look up.
#pragma once

extern "C" {
#include <frei0r.h>
}
