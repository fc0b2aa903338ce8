#include "settings/core/aspect_system_editor.h"

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/collation.h"
#include "platform/core/prompter.h"
#include "settings/core/settings_pages.h"

namespace settings {

namespace {

// "%s %s?": a catalogue text, a blank and a name.
std::string Question(int message, std::string_view name) {
  return GetMessageText(message) + " " + std::string(name) + "?";
}

}  // namespace

AspectSystemEditor::AspectSystemEditor(Aspectarium& aspects, Configuration& config)
    : aspects_(aspects), config_(config) {}

bool AspectSystemEditor::Open() {
  edited_ = aspects_.GetCurrentSystem(config_.GetSystemName(Configuration::kDisplaySystemSlot));
  selection = edited_ != nullptr && edited_->Count() > 0 ? 0 : -1;
  return edited_ != nullptr;
}

std::vector<std::string> AspectSystemEditor::SystemNames() const { return aspects_.Names(); }

bool AspectSystemEditor::EditSelected(const EditFunction& edit) {
  if (edited_ == nullptr || selection < 0 || selection >= edited_->Count()) return false;
  Aspect copy = edited_->GetAspect(selection);
  if (!edit(copy)) return false;
  edited_->GetAspect(selection) = std::move(copy);
  return true;
}

bool AspectSystemEditor::Add(const EditFunction& edit) {
  if (edited_ == nullptr) return false;
  Aspect fresh;  // angle and orbs 0, colours 1, harmonious, major, solid, thin
  if (!edit(fresh)) return false;
  if (edited_->AddAspect(fresh) != 0) return false;  // reported by AddAspect
  selection = 0;
  return true;
}

bool AspectSystemEditor::DeleteSelected() {
  if (edited_ == nullptr) return false;
  if (edited_->Count() == 0) {
    ShowAspectMessage(kAspMsgNothingLeft);
    return false;
  }
  if (selection < 0 || selection >= edited_->Count()) return false;
  if (platform::GetPrompter().AskOkCancel(AspectMessageNumber(kAspMsgConfirmDelete),
                                          GetAspectMessage(kAspMsgConfirmDelete)) !=
      platform::Answer::Ok)
    return false;
  if (edited_->DeleteAspect(selection) != 0) return false;
  selection = edited_->Count() > 0 ? 0 : -1;
  return true;
}

bool AspectSystemEditor::SwitchTo(std::string_view name) {
  AspectSystem* system = aspects_.FindSystem(name);
  if (system == nullptr) return false;
  edited_ = system;
  selection = edited_->Count() > 0 ? 0 : -1;
  return true;
}

bool AspectSystemEditor::Save(std::string_view name) {
  if (edited_ == nullptr) return false;
  if (AspectSystem* existing = aspects_.FindSystem(name)) {
    if (platform::GetPrompter().AskYesNo(kMsgOverwriteSystem,
                                         Question(kMsgOverwriteSystem, existing->GetName())) !=
        platform::Answer::Yes)
      return false;
    // The named system is the one written: it takes the edited aspects.
    if (existing != edited_) {
      const std::vector<Aspect> before = existing->Aspects();
      existing->SetAspects(edited_->Aspects());
      if (!existing->SaveSystem().ok()) {
        existing->SetAspects(before);
        return false;
      }
      edited_ = existing;
    } else if (!edited_->SaveSystem().ok()) {
      return false;
    }
    ShowAspectMessage(kAspMsgSaved);
    return true;
  }
  if (aspects_.AddSystem(name, *edited_) != 0) return false;  // reported by AddSystem
  ShowMessage(kMsgNewSystemSaved, platform::Icon::Information);
  edited_ = aspects_.FindSystem(name);
  selection = edited_ != nullptr && edited_->Count() > 0 ? 0 : -1;
  return edited_ != nullptr;
}

bool AspectSystemEditor::Destroy() {
  if (edited_ == nullptr) return false;
  if (aspects_.Count() <= 1) {
    ShowMessage(kMsgLastSystem, platform::Icon::Warning);
    return false;
  }
  const std::string name = edited_->GetName();
  if (platform::GetPrompter().AskYesNo(kMsgDestroySystem, Question(kMsgDestroySystem, name)) !=
      platform::Answer::Yes)
    return false;
  if (aspects_.DeleteSystemFile(name) != 0) return false;  // reported
  ShowMessage(kMsgSystemDestroyed, platform::Icon::Information);
  edited_ = &aspects_.GetSystem(0);
  selection = edited_->Count() > 0 ? 0 : -1;
  // No chart kind and no display keeps the name of a system that no longer exists.
  const std::string first = edited_->GetName();
  for (int slot = 0; slot < Configuration::kSystemSlotCount; ++slot) {
    const std::string held = config_.GetSystemName(slot);
    if (!held.empty() && SystemNameUpper(held) == name) config_.SetSystemName(slot, first);
  }
  if (SystemNameUpper(aspects_.CurrentSystemName()) == name) aspects_.SetCurrentSystemName(first);
  return true;
}

void AspectSystemEditor::Close() {
  if (edited_ == nullptr) return;
  config_.SetSystemName(Configuration::kDisplaySystemSlot, edited_->GetName());
  aspects_.SetCurrentSystemName(edited_->GetName());
}

std::vector<std::string> AspectSystemEditor::ApplyLineTypes(
    const std::array<std::uint8_t, Configuration::kLineTypeCount>& table, bool toAll) {
  std::vector<std::string> unsaved;
  if (edited_ == nullptr) return unsaved;
  // The edited system's name: its file name up to the first '.'.
  const std::string file = edited_->File().filename().string();
  const std::string editedName = file.substr(0, file.find('.'));
  for (int i = 0; i < aspects_.Count(); ++i) {
    AspectSystem& system = aspects_.GetSystem(i);
    if (!toAll && CompareStrings(system.GetName(), editedName, AspectSystem::kMaxNameLength, true,
                                 Collation::kCyrillicFirst) != kCompareEqual)
      continue;
    for (int k = 0; k < system.Count(); ++k) system.GetAspect(k).SetStyleByType(table);
    if (!system.SaveSystem().ok()) unsaved.push_back(system.GetName());
  }
  if (!unsaved.empty()) {
    std::string text = GetMessageText(kMsgSystemsNotSaved);
    for (const std::string& name : unsaved) text += "\n" + name;
    platform::GetPrompter().ShowMessage(kMsgSystemsNotSaved, text, platform::Icon::Warning);
  }
  return unsaved;
}

CorrespondencePage CorrespondencePage::From(const Configuration& config) {
  CorrespondencePage page;
  for (int k = 0; k < Configuration::kChartKindCount; ++k)
    page.names[static_cast<std::size_t>(k)] = config.GetSystemName(k);
  return page;
}

int CorrespondencePage::To(Configuration& config, const Aspectarium& aspects) const {
  int stored = 0;
  for (int k = 0; k < Configuration::kChartKindCount; ++k) {
    const std::string& text = names[static_cast<std::size_t>(k)];
    const AspectSystem* system =
        aspects.FindSystem(text.substr(0, AspectSystem::kMaxNameLength + 1));
    if (system != nullptr && config.SetSystemName(k, system->GetName())) ++stored;
  }
  return stored;
}

}  // namespace settings
