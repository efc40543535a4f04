#include "tools/render/ErrorNames.h"

namespace solvane::cli {
namespace {

const char* ErrorName(PF_Err err) {
  switch (err) {
    case PF_Err_NONE:
      return "PF_Err_NONE";
    case A_Err_GENERIC:
      return "A_Err_GENERIC";
    case A_Err_STRUCT:
      return "A_Err_STRUCT";
    case A_Err_PARAMETER:
      return "A_Err_PARAMETER";
    case PF_Err_OUT_OF_MEMORY:
      return "PF_Err_OUT_OF_MEMORY";
    case A_Err_MISSING_SUITE:
      return "A_Err_MISSING_SUITE";
    case PF_Err_INTERNAL_STRUCT_DAMAGED:
      return "PF_Err_INTERNAL_STRUCT_DAMAGED";
    case PF_Err_INVALID_INDEX:
      return "PF_Err_INVALID_INDEX";
    case PF_Err_UNRECOGNIZED_PARAM_TYPE:
      return "PF_Err_UNRECOGNIZED_PARAM_TYPE";
    case PF_Err_INVALID_CALLBACK:
      return "PF_Err_INVALID_CALLBACK";
    case PF_Err_BAD_CALLBACK_PARAM:
      return "PF_Err_BAD_CALLBACK_PARAM";
    case PF_Interrupt_CANCEL:
      return "PF_Interrupt_CANCEL";
    case PF_Err_CANNOT_PARSE_KEYFRAME_TEXT:
      return "PF_Err_CANNOT_PARSE_KEYFRAME_TEXT";
    default:
      return nullptr;
  }
}

}  // namespace

std::string DescribeError(PF_Err err) {
  const char* name = ErrorName(err);
  if (name == nullptr) return "error " + std::to_string(err);
  return std::string(name) + " (" + std::to_string(err) + ")";
}

}  // namespace solvane::cli
