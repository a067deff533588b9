// Basic scalar and record types of the After Effects effect interface,
// declared by us from the way the plug-ins use them. C-compatible, no
// dependency on the plug-ins or the headless host.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int8_t A_char_signed;
typedef char A_char;
typedef uint8_t A_u_char;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int64_t A_longlong;
typedef uint64_t A_u_longlong;
typedef uint8_t A_Boolean;
typedef double A_FpLong;
typedef float A_FpShort;
typedef A_long A_Err;

typedef A_long PF_Err;
typedef A_char PF_Boolean;
typedef A_long PF_ParamIndex;
typedef int32_t PF_Fixed; /* 16.16 fixed point */
typedef double PF_FpLong;
typedef float PF_FpShort;

/* A moment as a rational number of seconds: value / scale. */
typedef struct A_Time {
    A_long value;
    A_u_long scale;
} A_Time;

typedef struct PF_RationalScale {
    A_long num;
    A_u_long den;
} PF_RationalScale;

/* Integer rectangle; empty when left >= right or top >= bottom. */
typedef struct PF_LRect {
    A_long left;
    A_long top;
    A_long right;
    A_long bottom;
} PF_LRect;
typedef PF_LRect PF_Rect;

/* A host memory block: a pointer to the block's master pointer, so that
   *handle is the block's current address. */
typedef void** PF_Handle;

/* The host's opaque token for one effect instance during one call. */
typedef struct _PF_ProgressInfo* PF_ProgPtr;

/* The host's opaque record of an effect's parameter state. */
typedef struct PF_State {
    A_long reserved[4];
} PF_State;

#define PF_Fixed_ONE 65536

/* Error codes. */
enum {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    PF_Err_INTERNAL_STRUCT_DAMAGED = 512,
    PF_Err_INVALID_INDEX = 513,
    PF_Err_UNRECOGNIZED_PARAM_TYPE = 514,
    PF_Err_INVALID_CALLBACK = 515,
    PF_Err_BAD_CALLBACK_PARAM = 516,
    PF_Interrupt_CANCEL = 517,
    PF_Err_CANNOT_PARSE_KEYFRAME_TEXT = 518
};

#define PF_MAX_EFFECT_MSG_LEN 255
#define PF_MAX_EFFECT_NAME_LEN 31
#define PF_MAX_EFFECT_PARAMS 128

#ifdef __cplusplus
}
#endif
