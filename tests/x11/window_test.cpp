#include "tests/x11/x11_fixture.h"
