// The XML library's platform layer, started with its default locale as the
// first act of the kernel reset.
#pragma once

// Starts the library once; later calls only answer. False when it could
// not start (its allocations failed), in which case a later call tries
// again.
bool InitXmlPlatform();
bool IsXmlPlatformReady();
