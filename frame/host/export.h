// Marks the one function a plug-in library exports.
#pragma once

#if defined(_WIN32)
#define KNOTWELL_EXPORT __declspec(dllexport)
#else
#define KNOTWELL_EXPORT __attribute__((visibility("default")))
#endif
