// PF suites: function tables handed out by the basic suite. Each table
// lists the functions the plug-ins call, in our own order; the versions a
// name is offered in share one table layout.
#pragma once

#include "pf_effect.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kPFHandleSuite "PF Handle Suite"
#define kPFHandleSuiteVersion1 1
#define kPFHandleSuiteVersion2 2
typedef struct PF_HandleSuite {
    PF_Handle (*host_new_handle)(A_u_longlong size);
    void* (*host_lock_handle)(PF_Handle pf_handle);
    void (*host_unlock_handle)(PF_Handle pf_handle);
    void (*host_dispose_handle)(PF_Handle pf_handle);
    A_u_longlong (*host_get_handle_size)(PF_Handle pf_handle);
} PF_HandleSuite;
typedef PF_HandleSuite PF_HandleSuite1;
typedef PF_HandleSuite PF_HandleSuite2;

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion1 1
#define kPFParamUtilsSuiteVersion2 2
typedef struct PF_ParamUtilsSuite {
    PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                               const PF_ParamDef* defP);
    PF_Err (*PF_GetCurrentState)(PF_ProgPtr effect_ref, PF_State* stateP);
    PF_Err (*PF_HasParamChanged)(PF_ProgPtr effect_ref, const PF_State* stateP,
                                 PF_ParamIndex param_index, PF_Boolean* changedPB);
} PF_ParamUtilsSuite;

#define kPFWorldSuite "PF World Suite"
#define kPFWorldSuiteVersion2 2
typedef struct PF_WorldSuite2 {
    PF_Err (*PF_GetPixelFormat)(const PF_EffectWorld* worldP, PF_PixelFormat* pixel_formatP);
} PF_WorldSuite2;

#define kPFANSISuite "PF ANSI Suite"
#define kPFANSISuiteVersion1 1
typedef PF_ANSICallbacks PF_ANSISuite1;

#define kPFAdvAppSuite "PF AE Adv App Suite"
#define kPFAdvAppSuiteVersion2 2
typedef struct PF_AdvAppSuite2 {
    /* Shows two lines of text in the host's Info panel. */
    PF_Err (*PF_InfoDrawText)(const A_char* line1Z0, const A_char* line2Z0);
} PF_AdvAppSuite2;

#ifdef __cplusplus
}
#endif
