// Callback suites of the effect interface: ANSI routines, memory handles, world
// transfers and world allocation.
#pragma once

#include "AE_EffectCB.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kPFANSISuite "PF ANSI Suite"
#define kPFANSISuiteVersion1 1

typedef struct PF_ANSICallbacksSuite1 {
  SPAPI A_FpLong (*atan)(A_FpLong);
  SPAPI A_FpLong (*atan2)(A_FpLong y, A_FpLong x);
  SPAPI A_FpLong (*ceil)(A_FpLong);
  SPAPI A_FpLong (*cos)(A_FpLong);
  SPAPI A_FpLong (*exp)(A_FpLong);
  SPAPI A_FpLong (*fabs)(A_FpLong);
  SPAPI A_FpLong (*floor)(A_FpLong);
  SPAPI A_FpLong (*fmod)(A_FpLong x, A_FpLong y);
  SPAPI A_FpLong (*hypot)(A_FpLong x, A_FpLong y);
  SPAPI A_FpLong (*log)(A_FpLong);
  SPAPI A_FpLong (*log10)(A_FpLong);
  SPAPI A_FpLong (*pow)(A_FpLong x, A_FpLong y);
  SPAPI A_FpLong (*sin)(A_FpLong);
  SPAPI A_FpLong (*sqrt)(A_FpLong);
  SPAPI A_FpLong (*tan)(A_FpLong);
  SPAPI int (*sprintf)(A_char*, const A_char*, ...);
  SPAPI A_char* (*strcpy)(A_char*, const A_char*);
  SPAPI A_FpLong (*asin)(A_FpLong);
  SPAPI A_FpLong (*acos)(A_FpLong);
} PF_ANSICallbacksSuite1;

#define kPFHandleSuite "PF Handle Suite"
#define kPFHandleSuiteVersion1 2

typedef struct PF_HandleSuite1 {
  SPAPI PF_Handle (*host_new_handle)(A_HandleSize size);
  SPAPI void* (*host_lock_handle)(PF_Handle pf_handle);
  SPAPI void (*host_unlock_handle)(PF_Handle pf_handle);
  SPAPI void (*host_dispose_handle)(PF_Handle pf_handle);
  SPAPI A_HandleSize (*host_get_handle_size)(PF_Handle pf_handle);
  SPAPI PF_Err (*host_resize_handle)(A_HandleSize new_sizeL, PF_Handle* handlePH);
} PF_HandleSuite1;

#define kPFWorldTransformSuite "PF World Transform Suite"
#define kPFWorldTransformSuiteVersion1 1

typedef struct PF_WorldTransformSuite1 {
  SPAPI PF_Err (*composite_rect)(PF_ProgPtr effect_ref, PF_Rect* src_rect, A_long src_opacity,
                                 PF_EffectWorld* source_wld, A_long dest_x, A_long dest_y,
                                 PF_Field field_rdr, PF_TransferMode xfer_mode,
                                 PF_EffectWorld* dest_wld);
  SPAPI PF_Err (*blend)(PF_ProgPtr effect_ref, const PF_EffectWorld* src1,
                        const PF_EffectWorld* src2, PF_Fixed ratio, PF_EffectWorld* dst);
  SPAPI PF_Err (*convolve)(PF_ProgPtr effect_ref, PF_EffectWorld* src, const PF_Rect* area,
                           PF_KernelFlags flags, A_long kernel_size, void* a_kernel, void* r_kernel,
                           void* g_kernel, void* b_kernel, PF_EffectWorld* dst);
  SPAPI PF_Err (*copy)(PF_ProgPtr effect_ref, PF_EffectWorld* src, PF_EffectWorld* dst,
                       PF_Rect* src_r, PF_Rect* dst_r);
  SPAPI PF_Err (*copy_hq)(PF_ProgPtr effect_ref, PF_EffectWorld* src, PF_EffectWorld* dst,
                          PF_Rect* src_r, PF_Rect* dst_r);
  SPAPI PF_Err (*transfer_rect)(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags,
                                PF_Field field, const PF_Rect* src_rec,
                                const PF_EffectWorld* src_world, const PF_CompositeMode* comp_mode,
                                const PF_MaskWorld* mask_world0, A_long dest_x, A_long dest_y,
                                PF_EffectWorld* dst_world);
  SPAPI PF_Err (*transform_world)(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags,
                                  PF_Field field, const PF_EffectWorld* src_world,
                                  const PF_CompositeMode* comp_mode,
                                  const PF_MaskWorld* mask_world0, const PF_FloatMatrix* matrices,
                                  A_long num_matrices, PF_Boolean src2dst_matrix,
                                  const PF_Rect* dest_rect, PF_EffectWorld* dst_world);
} PF_WorldTransformSuite1;

#define kPFWorldSuite "PF World Suite"
#define kPFWorldSuiteVersion2 2

typedef struct PF_WorldSuite2 {
  SPAPI PF_Err (*PF_NewWorld)(PF_ProgPtr effect_ref, A_long widthL, A_long heightL,
                              PF_Boolean clear_pixB, PF_PixelFormat pixel_format,
                              PF_EffectWorld* worldP);
  SPAPI PF_Err (*PF_DisposeWorld)(PF_ProgPtr effect_ref, PF_EffectWorld* worldP);
  SPAPI PF_Err (*PF_GetPixelFormat)(const PF_EffectWorld* worldP, PF_PixelFormat* pixel_formatP);
} PF_WorldSuite2;

#ifdef __cplusplus
}
#endif
