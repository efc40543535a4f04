// AEGP suites the effect reaches through the SP Basic suite: its own layer and effect
// reference, layer flags, parameter streams and their dynamic flags.
#pragma once

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long AEGP_PluginID;
typedef A_long AEGP_LayerFlags;
typedef A_short AEGP_LayerQuality;
typedef A_long AEGP_LayerStream;
typedef A_long AEGP_MaskStream;
typedef A_long AEGP_StreamGroupingType;
typedef A_long AEGP_InstalledEffectKey;
typedef A_long AEGP_EffectFlags;
typedef A_long AEGP_EffectIndex;
typedef A_u_long AEGP_DynStreamFlags;
typedef struct _AEGP_Item** AEGP_ItemH;
typedef struct _AEGP_Comp** AEGP_CompH;
typedef struct _AEGP_Layer** AEGP_LayerH;
typedef struct _AEGP_Effect** AEGP_EffectRefH;
typedef struct _AEGP_Mask** AEGP_MaskRefH;
typedef struct _AEGPp_Stream** AEGP_StreamRefH;

enum {
  AEGP_LayerFlag_NONE = 0x00000000,
  AEGP_LayerFlag_VIDEO_ACTIVE = 0x00000001,
  AEGP_LayerFlag_COLLAPSE = 0x00000080,
  AEGP_LayerFlag_ADJUSTMENT_LAYER = 0x00000200
};

enum {
  AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1L << 0,
  AEGP_DynStreamFlag_HIDDEN = 1L << 1,
  AEGP_DynStreamFlag_DISABLED = 1L << 4
};

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1

typedef struct AEGP_PFInterfaceSuite1 {
  SPAPI A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ppr_ref, AEGP_LayerH* layerPH);
  SPAPI A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_ppr_ref,
                                            AEGP_EffectRefH* effectPH);
  SPAPI A_Err (*AEGP_ConvertEffectToCompTime)(PF_ProgPtr effect_ppr_ref, A_long what_time,
                                              A_u_long time_scale, A_Time* comp_timePT);
  SPAPI A_Err (*AEGP_GetEffectCamera)(PF_ProgPtr effect_ppr_ref, const A_Time* comp_timePT,
                                      AEGP_LayerH* camera_layerPH);
  SPAPI A_Err (*AEGP_GetEffectCameraMatrix)(PF_ProgPtr effect_ppr_ref, const A_Time* comp_timePT,
                                            A_Matrix4* camera_matrixP, A_FpLong* dst_to_planePF,
                                            A_short* plane_widthPL, A_short* plane_heightPL);
} AEGP_PFInterfaceSuite1;

// "AEGP Layer Suite" version 13 hands out the table of the suite's seventh revision; it is
// declared up to the last slot the effect calls.
#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion7 13

typedef struct AEGP_LayerSuite7 {
  SPAPI A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
  SPAPI A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL,
                                          AEGP_LayerH* layerPH);
  SPAPI A_Err (*AEGP_GetActiveLayer)(AEGP_LayerH* layerPH);
  SPAPI A_Err (*AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);
  SPAPI A_Err (*AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);
  SPAPI A_Err (*AEGP_GetLayerSourceItemID)(AEGP_LayerH layerH, A_long* source_item_idPL);
  SPAPI A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
  SPAPI A_Err (*AEGP_GetLayerName)(AEGP_PluginID pluginID, AEGP_LayerH layerH,
                                   AEGP_MemHandle* utf_layer_namePH0,
                                   AEGP_MemHandle* utf_source_namePH0);
  SPAPI A_Err (*AEGP_GetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality* qualityP);
  SPAPI A_Err (*AEGP_SetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality quality);
  SPAPI A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
  SPAPI A_Err (*AEGP_SetLayerFlag)(AEGP_LayerH layerH, AEGP_LayerFlags single_flag,
                                   A_Boolean valueB);
} AEGP_LayerSuite7;

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2

typedef struct AEGP_EffectSuite2 {
  SPAPI A_Err (*AEGP_GetLayerNumEffects)(AEGP_LayerH layerH, A_long* num_effectsPL);
  SPAPI A_Err (*AEGP_GetLayerEffectByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                            AEGP_EffectIndex layer_effect_indexL,
                                            AEGP_EffectRefH* effectPH);
  SPAPI A_Err (*AEGP_GetInstalledKeyFromLayerEffect)(AEGP_EffectRefH effect_refH,
                                                     AEGP_InstalledEffectKey* installed_keyP);
  SPAPI A_Err (*AEGP_GetEffectParamUnionByIndex)(AEGP_PluginID aegp_plugin_id,
                                                 AEGP_EffectRefH effectH, PF_ParamIndex param_index,
                                                 PF_ParamType* param_typeP, PF_ParamDefUnion* uP0);
  SPAPI A_Err (*AEGP_GetEffectFlags)(AEGP_EffectRefH effect_refH, AEGP_EffectFlags* effect_flagsP);
  SPAPI A_Err (*AEGP_SetEffectFlags)(AEGP_EffectRefH effect_refH, AEGP_EffectFlags mask,
                                     AEGP_EffectFlags effect_flags);
  SPAPI A_Err (*AEGP_ReorderEffect)(AEGP_EffectRefH effect_refH, A_long effect_indexL);
  SPAPI A_Err (*AEGP_EffectCallGeneric)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effectH,
                                        const A_Time* timePT, void* extraPV);
  SPAPI A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
} AEGP_EffectSuite2;

// "AEGP Stream Suite" version 7 hands out the table of the suite's second revision.
#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion2 7

typedef struct AEGP_StreamSuite2 {
  SPAPI A_Err (*AEGP_IsStreamLegal)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                    A_Boolean* is_legalP);
  SPAPI A_Err (*AEGP_CanVaryOverTime)(AEGP_StreamRefH streamH, A_Boolean* can_varyPB);
  SPAPI A_Err (*AEGP_GetValidInterpolations)(AEGP_StreamRefH streamH, A_long* valid_interpP);
  SPAPI A_Err (*AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                        AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
  SPAPI A_Err (*AEGP_GetEffectNumParamStreams)(AEGP_EffectRefH effect_refH, A_long* num_paramsPL);
  SPAPI A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id,
                                                AEGP_EffectRefH effect_refH,
                                                PF_ParamIndex param_index,
                                                AEGP_StreamRefH* streamPH);
  SPAPI A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                       AEGP_MaskStream which_stream,
                                       AEGP_StreamRefH* mask_streamPH);
  SPAPI A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
} AEGP_StreamSuite2;

// Version 2 of "AEGP Dynamic Stream Suite" as the host hands it out: the flag setter is the
// sixth slot.
#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion2 2

typedef struct AEGP_DynamicStreamSuite2 {
  SPAPI A_Err (*AEGP_GetNewStreamRefForLayer)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                              AEGP_StreamRefH* streamPH);
  SPAPI A_Err (*AEGP_GetStreamDepth)(AEGP_StreamRefH streamH, A_long* depthPL);
  SPAPI A_Err (*AEGP_GetStreamGroupingType)(AEGP_StreamRefH streamH,
                                            AEGP_StreamGroupingType* group_typeP);
  SPAPI A_Err (*AEGP_GetNumStreamsInGroup)(AEGP_StreamRefH streamH, A_long* num_streamsPL);
  SPAPI A_Err (*AEGP_GetDynamicStreamFlags)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags* flagsP);
  SPAPI A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                                           A_Boolean undoableB, A_Boolean setB);
} AEGP_DynamicStreamSuite2;

#ifdef __cplusplus
}
#endif
