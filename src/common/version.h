// The version in one place, for the code and for the resource script.
#pragma once

#define KIVET_VERSION_TEXT "0.2.1"
#define KIVET_VERSION_WIDE L"0.2.1"
#define KIVET_VERSION_COMMAS 0, 2, 1, 0
#define KIVET_VERSION_QUAD "0.2.1.0"
