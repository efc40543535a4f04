// Effect suites: updating a control's user interface.
#pragma once

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3

typedef struct PF_ParamUtilsSuite3 {
  SPAPI PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                   const PF_ParamDef *defP);
  SPAPI void *PF_GetCurrentState;
  SPAPI void *PF_AreStatesIdentical;
  SPAPI void *PF_IsIdenticalCheckout;
  SPAPI void *PF_FindKeyframeTime;
  SPAPI void *PF_GetKeyframeCount;
  SPAPI void *PF_CheckoutKeyframe;
  SPAPI void *PF_CheckinKeyframe;
  SPAPI void *PF_KeyIndexToTime;
} PF_ParamUtilsSuite3;

#ifdef __cplusplus
}
#endif
