// Marks the symbols the shared library exports; everything else is hidden.
#pragma once

#if defined(__GNUC__)
#define KQ_EXPORT __attribute__((visibility("default")))
#else
#define KQ_EXPORT
#endif
