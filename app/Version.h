// The program's version, written here only: Quorrel.exe's version resource and Res.dll's
// About text take it from this file, and the packaging script reads the three numbers back.
// Read by the resource compiler too, so it holds nothing but defines.
#pragma once

#define QUORREL_VERSION_MAJOR 1
#define QUORREL_VERSION_MINOR 0
#define QUORREL_VERSION_PATCH 0

#define QUORREL_TEXT_(x) #x
#define QUORREL_TEXT(x) QUORREL_TEXT_(x)
#define QUORREL_VERSION_TEXT QUORREL_TEXT(QUORREL_VERSION_MAJOR.QUORREL_VERSION_MINOR.QUORREL_VERSION_PATCH)
// The About box's first line, "Version 1.0".
#define QUORREL_VERSION_CAPTION QUORREL_TEXT(Version QUORREL_VERSION_MAJOR.QUORREL_VERSION_MINOR)
