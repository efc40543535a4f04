// Effect suites: updating a control's user interface.
#pragma once

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3

typedef struct PF_State PF_State;
typedef A_long PF_TimeDir;
typedef A_long PF_KeyIndex;

typedef struct PF_ParamUtilsSuite3 {
  SPAPI PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                   const PF_ParamDef* defP);
  SPAPI PF_Err (*PF_GetCurrentState)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                     const A_Time* range_start, const A_Time* range_duration,
                                     PF_State* state);
  SPAPI PF_Err (*PF_AreStatesIdentical)(PF_ProgPtr effect_ref, const PF_State* state1,
                                        const PF_State* state2, A_Boolean* samePB);
  SPAPI PF_Err (*PF_IsIdenticalCheckout)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                         A_long what_time1, A_long time_step1, A_u_long time_scale1,
                                         A_long what_time2, A_long time_step2, A_u_long time_scale2,
                                         PF_Boolean* identicalPB);
  SPAPI PF_Err (*PF_FindKeyframeTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                      A_long what_time, A_u_long time_scale, PF_TimeDir time_dir,
                                      PF_Boolean* foundPB, PF_KeyIndex* key_indexP0,
                                      A_long* key_timeP0, A_u_long* key_timescaleP0);
  SPAPI PF_Err (*PF_GetKeyframeCount)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                      PF_KeyIndex* key_countP);
  SPAPI PF_Err (*PF_CheckoutKeyframe)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                      PF_KeyIndex key_index, A_long* key_timeP0,
                                      A_u_long* key_timescaleP0, PF_ParamDef* paramP0);
  SPAPI PF_Err (*PF_CheckinKeyframe)(PF_ProgPtr effect_ref, PF_ParamDef* paramP);
  SPAPI PF_Err (*PF_KeyIndexToTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                    PF_KeyIndex key_index, A_long* key_timeP,
                                    A_u_long* key_timescaleP);
} PF_ParamUtilsSuite3;

#ifdef __cplusplus
}
#endif
