// The identifiers of orvanta.exe's resources, shared by orvanta.rc and the code that loads them.
#pragma once

/// The program's icon. Explorer shows a program's first icon, so it keeps the lowest number.
#define IDI_ORVANTA 1

// The manifest and the version information keep the numbers Windows looks them up by:
// CREATEPROCESS_MANIFEST_RESOURCE_ID (winuser.h) and VS_VERSION_INFO (winver.h).
