// Process-wide start of the skin toolkit: GDI+, the time frame dimension and
// the loading-dialog window class.
#pragma once

#include <windows.h>

// Starts GDI+ (never shut down), parses the time frame dimension and registers
// the "OrvexLoadDialog" class. Only the first call in a process does anything.
void startToolkit();

// The token GDI+ start-up returned; 0 before startToolkit or when GDI+ failed.
ULONG_PTR gdiplusToken();

// The GDI+ frame dimension for time (animation frames); all zero before startToolkit.
const GUID& timeFrameDimension();
