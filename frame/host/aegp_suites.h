// AEGP suites: the project interface (layers, masks, effects, streams,
// keyframes). Each table lists the functions the plug-ins call, in our own
// order; the versions a name is offered in share one table layout.
#pragma once

#include "pf_effect.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long AEGP_PluginID;
typedef void* AEGP_GlobalRefcon;
typedef A_long AEGP_InstalledEffectKey;
typedef A_long AEGP_EffectIndex;
typedef A_long AEGP_MaskIndex;
typedef A_long AEGP_VertexIndex;

typedef struct _AEGP_Layer* AEGP_LayerH;
typedef struct _AEGP_EffectRef* AEGP_EffectRefH;
typedef struct _AEGP_MaskRef* AEGP_MaskRefH;
typedef struct _AEGP_StreamRef* AEGP_StreamRefH;
typedef struct _AEGP_MaskOutlineVal* AEGP_MaskOutlineValH;
typedef struct _AEGP_AddKeyframesInfo* AEGP_AddKeyframesInfoH;

#define AEGP_InstalledEffectKey_NONE 0

typedef A_long AEGP_LTimeMode;
enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };

typedef A_long AEGP_MaskStream;
enum {
    AEGP_MaskStream_OUTLINE = 400,
    AEGP_MaskStream_OPACITY = 401,
    AEGP_MaskStream_FEATHER = 402,
    AEGP_MaskStream_EXPANSION = 403
};

typedef A_long AEGP_EffectFlags;
enum { AEGP_EffectFlags_NONE = 0, AEGP_EffectFlags_ACTIVE = 0x1 };

typedef A_long AEGP_DynStreamFlags;
enum { AEGP_DynStreamFlag_ACTIVE_EYEBALL = 0x1, AEGP_DynStreamFlag_HIDDEN = 0x2 };

/* One vertex of a mask outline, in full-resolution layer pixels, x to the
   right and y downwards; the tangents are relative to the position. */
typedef struct AEGP_MaskVertex {
    A_FpLong x;
    A_FpLong y;
    A_FpLong tan_in_x;
    A_FpLong tan_in_y;
    A_FpLong tan_out_x;
    A_FpLong tan_out_y;
} AEGP_MaskVertex;

typedef struct AEGP_TwoDVal {
    A_FpLong x;
    A_FpLong y;
} AEGP_TwoDVal;

typedef struct AEGP_ThreeDVal {
    A_FpLong x;
    A_FpLong y;
    A_FpLong z;
} AEGP_ThreeDVal;

typedef struct AEGP_ColorVal {
    A_FpLong alphaF;
    A_FpLong redF;
    A_FpLong greenF;
    A_FpLong blueF;
} AEGP_ColorVal;

typedef A_FpLong AEGP_OneDVal;

typedef union AEGP_StreamVal2 {
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    AEGP_MaskOutlineValH mask;
} AEGP_StreamVal2;

typedef struct AEGP_StreamValue2 {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion7 7
typedef struct AEGP_UtilitySuite7 {
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* plugin_name,
                                   AEGP_PluginID* plugin_id);
} AEGP_UtilitySuite7;

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1
typedef struct AEGP_PFInterfaceSuite1 {
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH);
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_ref,
                                        AEGP_EffectRefH* effectPH);
} AEGP_PFInterfaceSuite1;

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion7 7
#define kAEGPStreamSuiteVersion9 9
typedef struct AEGP_StreamSuite {
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effectH,
                                            PF_ParamIndex param_index, AEGP_StreamRefH* streamPH);
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH maskH,
                                   AEGP_MaskStream which_stream, AEGP_StreamRefH* mask_streamPH);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                    AEGP_LTimeMode time_mode, const A_Time* timePT,
                                    A_Boolean pre_expression, AEGP_StreamValue2* valueP);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* valueP);
    A_Err (*AEGP_SetStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                 AEGP_StreamValue2* valueP);
} AEGP_StreamSuite;

#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion2 2
#define kAEGPDynamicStreamSuiteVersion5 5
typedef struct AEGP_DynamicStreamSuite {
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                                       A_Boolean undoableB, A_Boolean setB);
} AEGP_DynamicStreamSuite;

#define kAEGPKeyframeSuite "AEGP Keyframe Suite"
#define kAEGPKeyframeSuiteVersion3 3
#define kAEGPKeyframeSuiteVersion4 4
typedef struct AEGP_KeyframeSuite {
    A_Err (*AEGP_StartAddKeyframes)(AEGP_StreamRefH streamH, AEGP_AddKeyframesInfoH* akPH);
    A_Err (*AEGP_AddKeyframes)(AEGP_AddKeyframesInfoH akH, AEGP_LTimeMode time_mode,
                               const A_Time* timePT, A_long* key_indexPL);
    A_Err (*AEGP_SetAddKeyframe)(AEGP_AddKeyframesInfoH akH, A_long key_indexL,
                                 const AEGP_StreamValue2* valueP);
    A_Err (*AEGP_EndAddKeyframes)(A_Boolean addB, AEGP_AddKeyframesInfoH akH);
} AEGP_KeyframeSuite;

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2
#define kAEGPEffectSuiteVersion3 3
typedef struct AEGP_EffectSuite {
    A_Err (*AEGP_GetLayerNumEffects)(AEGP_LayerH layerH, A_long* num_effectsPL);
    A_Err (*AEGP_GetLayerEffectByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                        AEGP_EffectIndex layer_effect_index,
                                        AEGP_EffectRefH* effectPH);
    A_Err (*AEGP_GetInstalledKeyFromLayerEffect)(AEGP_EffectRefH effectH,
                                                 AEGP_InstalledEffectKey* installed_keyP);
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
    A_Err (*AEGP_ApplyEffect)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                              AEGP_InstalledEffectKey installed_key, AEGP_EffectRefH* effectPH);
    A_Err (*AEGP_GetNumInstalledEffects)(A_long* num_installed_effectsPL);
    A_Err (*AEGP_GetNextInstalledEffect)(AEGP_InstalledEffectKey key,
                                         AEGP_InstalledEffectKey* next_keyPH);
    A_Err (*AEGP_GetEffectName)(AEGP_InstalledEffectKey installed_key, A_char* nameZ);
    A_Err (*AEGP_GetEffectFlags)(AEGP_EffectRefH effectH, AEGP_EffectFlags* effect_flagsP);
    A_Err (*AEGP_SetEffectFlags)(AEGP_EffectRefH effectH, AEGP_EffectFlags mask,
                                 AEGP_EffectFlags effect_flags);
} AEGP_EffectSuite;

#define AEGP_MAX_EFFECT_NAME_SIZE 256

#define kAEGPLayerMaskSuite "AEGP Layer Mask Suite"
#define kAEGPLayerMaskSuiteVersion5 5
typedef struct AEGP_LayerMaskSuite5 {
    A_Err (*AEGP_GetLayerNumMasks)(AEGP_LayerH aegp_layerH, A_long* num_masksPL);
    A_Err (*AEGP_GetLayerMaskByIndex)(AEGP_LayerH aegp_layerH, AEGP_MaskIndex mask_indexL,
                                      AEGP_MaskRefH* maskPH);
    A_Err (*AEGP_DisposeMask)(AEGP_MaskRefH mask_refH);
    A_Err (*AEGP_GetMaskIsRotoBezier)(AEGP_MaskRefH mask_refH, A_Boolean* is_roto_bezierPB);
} AEGP_LayerMaskSuite5;

#define kAEGPMaskOutlineSuite "AEGP Mask Outline Suite"
#define kAEGPMaskOutlineSuiteVersion3 3
typedef struct AEGP_MaskOutlineSuite3 {
    A_Err (*AEGP_IsMaskOutlineOpen)(AEGP_MaskOutlineValH mask_outlineH, A_Boolean* openPB);
    A_Err (*AEGP_GetMaskOutlineNumSegments)(AEGP_MaskOutlineValH mask_outlineH,
                                            A_long* num_segmentsPL);
    A_Err (*AEGP_GetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH mask_outlineH,
                                           AEGP_VertexIndex which_pointL,
                                           AEGP_MaskVertex* vertexP);
    A_Err (*AEGP_SetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH mask_outlineH,
                                           AEGP_VertexIndex which_pointL,
                                           const AEGP_MaskVertex* vertexP);
} AEGP_MaskOutlineSuite3;

#ifdef __cplusplus
}
#endif
