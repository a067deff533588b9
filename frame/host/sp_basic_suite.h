// The basic suite through which every other suite is acquired by name and
// version, and given back under the same name and version.
#pragma once

#include "ae_types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long SPErr;
enum { kSPNoError = 0, kSPSuiteNotFoundError = 0x214e4f54 /* "!NOT" */ };

typedef struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, A_long version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, A_long version);
    A_Boolean (*IsEqual)(const char* token1, const char* token2);
    SPErr (*AllocateBlock)(size_t size, void** block);
    SPErr (*FreeBlock)(void* block);
    SPErr (*ReallocateBlock)(void* block, size_t new_size, void** new_block);
    SPErr (*Undefined)(void);
} SPBasicSuite;

#ifdef __cplusplus
}
#endif
