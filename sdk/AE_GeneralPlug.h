// AEGP suites the effect reaches through the SP Basic suite: its own layer and effect
// reference, layer flags, parameter streams and their dynamic flags.
#pragma once

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long AEGP_PluginID;
typedef A_long AEGP_LayerFlags;
typedef A_long AEGP_DynStreamFlags;
typedef struct _AEGP_LayerH *AEGP_LayerH;
typedef struct _AEGP_EffectRefH *AEGP_EffectRefH;
typedef struct _AEGP_StreamRefH *AEGP_StreamRefH;

enum {
  AEGP_LayerFlag_NONE = 0x00000000,
  AEGP_LayerFlag_VIDEO_ACTIVE = 0x00000001,
  AEGP_LayerFlag_COLLAPSE = 0x00000080,
  AEGP_LayerFlag_ADJUSTMENT_LAYER = 0x00000200
};

enum { AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1L << 0, AEGP_DynStreamFlag_HIDDEN = 1L << 1,
       AEGP_DynStreamFlag_DISABLED = 1L << 4 };

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1

typedef struct AEGP_PFInterfaceSuite1 {
  SPAPI A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ppr_ref, AEGP_LayerH *layerPH);
  SPAPI A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id,
                                            PF_ProgPtr effect_ppr_ref, AEGP_EffectRefH *effectPH);
  SPAPI void *AEGP_ConvertEffectToCompTime;
  SPAPI void *AEGP_GetEffectCamera;
  SPAPI void *AEGP_GetEffectCameraMatrix;
} AEGP_PFInterfaceSuite1;

#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion13 13

typedef struct AEGP_LayerSuite13 {
  SPAPI void *AEGP_GetCompNumLayers;
  SPAPI void *AEGP_GetCompLayerByIndex;
  SPAPI void *AEGP_GetActiveLayer;
  SPAPI void *AEGP_GetLayerIndex;
  SPAPI void *AEGP_GetLayerSourceItem;
  SPAPI void *AEGP_GetLayerSourceItemID;
  SPAPI void *AEGP_GetLayerParentComp;
  SPAPI void *AEGP_GetLayerName;
  SPAPI void *AEGP_GetLayerQuality;
  SPAPI void *AEGP_SetLayerQuality;
  SPAPI A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags *layer_flagsP);
  SPAPI void *AEGP_SetLayerFlag;
} AEGP_LayerSuite13;

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2

typedef struct AEGP_EffectSuite2 {
  SPAPI void *AEGP_GetLayerNumEffects;
  SPAPI void *AEGP_GetLayerEffectByIndex;
  SPAPI void *AEGP_GetInstalledKeyFromLayerEffect;
  SPAPI void *AEGP_GetEffectParamUnionByIndex;
  SPAPI void *AEGP_GetEffectFlags;
  SPAPI void *AEGP_SetEffectFlags;
  SPAPI void *AEGP_ReorderEffect;
  SPAPI void *AEGP_EffectCallGeneric;
  SPAPI A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
} AEGP_EffectSuite2;

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion7 7

typedef struct AEGP_StreamSuite7 {
  SPAPI void *AEGP_IsStreamLegal;
  SPAPI void *AEGP_CanVaryOverTime;
  SPAPI void *AEGP_GetValidInterpolations;
  SPAPI void *AEGP_GetNewLayerStream;
  SPAPI void *AEGP_GetEffectNumParamStreams;
  SPAPI A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id,
                                                AEGP_EffectRefH effect_refH,
                                                PF_ParamIndex param_index,
                                                AEGP_StreamRefH *streamPH);
  SPAPI void *AEGP_GetNewMaskStream;
  SPAPI A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
} AEGP_StreamSuite7;

#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion2 2

typedef struct AEGP_DynamicStreamSuite2 {
  SPAPI void *AEGP_GetNewStreamRefForLayer;
  SPAPI void *AEGP_GetNewStreamRefForMask;
  SPAPI void *AEGP_GetStreamDepth;
  SPAPI void *AEGP_GetStreamGroupingType;
  SPAPI void *AEGP_GetNumStreamsInGroup;
  SPAPI void *AEGP_GetDynamicStreamFlags;
  SPAPI A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                                           A_Boolean undoableB, A_Boolean setB);
} AEGP_DynamicStreamSuite2;

#ifdef __cplusplus
}
#endif
