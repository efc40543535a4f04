#include "host/ParamStore.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "AE_GeneralPlug.h"
#include "core/controls/ItemList.h"
#include "host/HostError.h"

namespace solvane::host {
namespace {

bool KnownKind(PF_ParamType type) {
  switch (type) {
    case PF_Param_SLIDER:
    case PF_Param_FIX_SLIDER:
    case PF_Param_ANGLE:
    case PF_Param_CHECKBOX:
    case PF_Param_COLOR:
    case PF_Param_POINT:
    case PF_Param_POPUP:
    case PF_Param_FLOAT_SLIDER:
    case PF_Param_GROUP_START:
    case PF_Param_GROUP_END:
    case PF_Param_BUTTON:
      return true;
    default:
      return false;
  }
}

// The string a definition points at, copied; the effect's storage is not the host's.
std::string TextOf(const PF_ParamDef& def) {
  const char* text = nullptr;
  if (def.param_type == PF_Param_POPUP) text = def.u.pd.u.namesptr;
  if (def.param_type == PF_Param_CHECKBOX) text = def.u.bd.u.nameptr;
  if (def.param_type == PF_Param_BUTTON) text = def.u.button_d.u.namesptr;
  return text != nullptr ? std::string(text) : std::string();
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsIndexText(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

std::string Describe(const RegisteredParam& p) {
  return p.group.empty() ? "index " + std::to_string(p.index) : "\"" + p.QualifiedName() + "\"";
}

}  // namespace

std::string RegisteredParam::QualifiedName() const {
  return group.empty() ? Name() : group + "/" + Name();
}

std::vector<std::string> RegisteredParam::Choices() const {
  std::vector<std::string> out;
  if (def.param_type != PF_Param_POPUP) return out;
  for (const std::string_view item : SplitItems(text)) out.emplace_back(item);
  return out;
}

bool RegisteredParam::HasValue() const {
  const PF_ParamType t = def.param_type;
  return t != PF_Param_GROUP_START && t != PF_Param_GROUP_END && t != PF_Param_BUTTON;
}

bool RegisteredParam::CanVaryOverTime() const {
  return HasValue() && (def.flags & PF_ParamFlag_CANNOT_TIME_VARY) == 0;
}

void ParamStore::Reset() {
  std::lock_guard lock(mutex_);
  params_.clear();
  openGroups_.clear();
  numParams_ = -1;
}

PF_Err ParamStore::Add(const PF_ParamDef& def) {
  if (std::memchr(def.name, '\0', sizeof def.name) == nullptr || !KnownKind(def.param_type)) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  std::lock_guard lock(mutex_);
  Stored stored;
  RegisteredParam& p = stored.param;
  p.index = PF_ParamIndex(params_.size() + 1);
  p.def = def;
  p.text = TextOf(def);
  // A control belongs to the innermost open group; a group end to the group it closes.
  if (!openGroups_.empty()) {
    p.groupIndex = openGroups_.back();
    p.group = params_[size_t(p.groupIndex - 1)].param.Name();
  }
  if (def.param_type == PF_Param_GROUP_END && !openGroups_.empty()) openGroups_.pop_back();
  if (def.param_type == PF_Param_GROUP_START) openGroups_.push_back(p.index);
  // A control registered invisible starts with its stream hidden.
  if ((def.ui_flags & PF_PUI_INVISIBLE) != 0) p.dynamicFlags |= AEGP_DynStreamFlag_HIDDEN;
  params_.push_back(std::move(stored));
  return PF_Err_NONE;
}

void ParamStore::SetNumParams(A_long count) {
  std::lock_guard lock(mutex_);
  numParams_ = count;
}

A_long ParamStore::NumParams() const {
  std::lock_guard lock(mutex_);
  return numParams_;
}

int ParamStore::Count() const {
  std::lock_guard lock(mutex_);
  return int(params_.size());
}

const ParamStore::Stored& ParamStore::StoredAt(PF_ParamIndex index) const {
  if (index < 1 || size_t(index) > params_.size()) {
    throw HostError("no control at index " + std::to_string(index) + ": the effect has " +
                    std::to_string(params_.size()) + " controls, at indexes 1 to " +
                    std::to_string(params_.size()));
  }
  return params_[size_t(index - 1)];
}

ParamStore::Stored& ParamStore::StoredAt(PF_ParamIndex index) {
  return const_cast<Stored&>(std::as_const(*this).StoredAt(index));
}

RegisteredParam ParamStore::At(PF_ParamIndex index) const {
  std::lock_guard lock(mutex_);
  return StoredAt(index).param;
}

PF_ParamIndex ParamStore::Find(const std::string& name) const {
  std::lock_guard lock(mutex_);
  if (IsIndexText(name)) {
    // An index past any control is named as the user wrote it, however long.
    if (name.size() > 9) {
      throw HostError("no control at index " + name.substr(0, 20) +
                      (name.size() > 20 ? "..." : "") + ": the effect has " +
                      std::to_string(params_.size()) + " controls");
    }
    return StoredAt(PF_ParamIndex(std::stol(name))).param.index;
  }
  std::vector<const RegisteredParam*> matches;
  for (const Stored& s : params_) {
    const RegisteredParam& p = s.param;
    if (p.def.param_type == PF_Param_GROUP_END) continue;
    if (SameText(p.Name(), name) || (!p.group.empty() && SameText(p.QualifiedName(), name))) {
      matches.push_back(&p);
    }
  }
  if (matches.empty()) throw HostError("unknown control \"" + name + "\"");
  if (matches.size() > 1) {
    std::string choices;
    for (size_t i = 0; i < matches.size(); ++i) {
      choices += (i == 0 ? "" : i + 1 == matches.size() ? " or " : ", ") + Describe(*matches[i]);
    }
    throw HostError("\"" + name + "\" names " + std::to_string(matches.size()) + " controls: use " +
                    choices);
  }
  return matches.front()->index;
}

PF_Err ParamStore::UpdateUi(PF_ParamIndex index, const PF_ParamDef& def) {
  std::lock_guard lock(mutex_);
  if (index < 1 || size_t(index) > params_.size()) return PF_Err_INVALID_INDEX;
  PF_ParamDef& stored = params_[size_t(index - 1)].param.def;
  if (def.param_type != stored.param_type) return PF_Err_BAD_CALLBACK_PARAM;
  stored.ui_flags = def.ui_flags;
  return PF_Err_NONE;
}

PF_Err ParamStore::SetDynamicFlag(PF_ParamIndex index, A_long flag, bool set) {
  std::lock_guard lock(mutex_);
  if (index < 1 || size_t(index) > params_.size()) return PF_Err_INVALID_INDEX;
  A_long& flags = params_[size_t(index - 1)].param.dynamicFlags;
  flags = set ? (flags | flag) : (flags & ~flag);
  return PF_Err_NONE;
}

bool ParamStore::Hidden(PF_ParamIndex index) const {
  std::lock_guard lock(mutex_);
  return (StoredAt(index).param.dynamicFlags & AEGP_DynStreamFlag_HIDDEN) != 0;
}

bool ParamStore::HiddenByGroup(PF_ParamIndex index) const {
  std::lock_guard lock(mutex_);
  for (PF_ParamIndex g = StoredAt(index).param.groupIndex; g != 0;) {
    const RegisteredParam& group = StoredAt(g).param;
    if ((group.dynamicFlags & AEGP_DynStreamFlag_HIDDEN) != 0) return true;
    g = group.groupIndex;
  }
  return false;
}

bool ParamStore::Disabled(PF_ParamIndex index) const {
  std::lock_guard lock(mutex_);
  return (StoredAt(index).param.def.ui_flags & PF_PUI_DISABLED) != 0;
}

}  // namespace solvane::host
