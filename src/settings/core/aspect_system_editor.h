// The work of the aspect-system editor without its window: the system being edited, the selected
// aspect, adding, editing and deleting aspects, switching, saving and destroying systems, the
// system of each chart kind and the stamping of the line-type table onto the aspects. Questions
// and messages go through the prompt service; the aspect dialog is a function given by the
// caller.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"

namespace settings {

class AspectSystemEditor {
 public:
  // Runs the aspect dialog on an aspect; true when the user chose OK (the aspect then holds the
  // new fields), false on Cancel (the aspect may be changed; it is thrown away).
  using EditFunction = std::function<bool(Aspect&)>;

  AspectSystemEditor(Aspectarium& aspects, Configuration& config);

  // The current system (the configuration's display slot) becomes the edited one, its first
  // aspect selected. False when no system is loaded.
  bool Open();
  AspectSystem* Edited() const { return edited_; }
  // The selected aspect, -1 when none.
  int selection = -1;
  // The names of the loaded systems in load order.
  std::vector<std::string> SystemNames() const;

  // "Изменить": the selected aspect through `edit`; it takes the new fields only on OK. False
  // when nothing is selected or the user cancelled.
  bool EditSelected(const EditFunction& edit);
  // "Добавить": a new aspect through `edit`, appended on OK; the first line is then selected.
  bool Add(const EditFunction& edit);
  // "Удалить": message 6 for an empty system, else the question 5 (OK / Cancel).
  bool DeleteSelected();
  // The system of that name becomes the edited one; false when none is loaded.
  bool SwitchTo(std::string_view name);
  // "Сохранить" under `name` (the combo box's text): an existing system is overwritten with the
  // edited aspects after question 61 and becomes the edited one; a new name creates the system.
  bool Save(std::string_view name);
  // "Уничтожить": refused with message 65 for the last system; after question 63 the file is
  // deleted, the chart-kind and display slots that named it take the first system, and the first
  // system becomes the edited one.
  bool Destroy();
  // When the dialog closes: the edited system becomes the current one.
  void Close();

  // Stamps the line-type table onto the aspects of the edited system, or of every loaded system,
  // and saves each system so changed. The names of the systems that could not be saved (they
  // were reported one by one, and then named together with message 1946).
  std::vector<std::string> ApplyLineTypes(
      const std::array<std::uint8_t, Configuration::kLineTypeCount>& table, bool toAll);

 private:
  Aspectarium& aspects_;
  Configuration& config_;
  AspectSystem* edited_ = nullptr;
};

// The system of each chart kind, as the correspondence dialog edits it.
struct CorrespondencePage {
  std::array<std::string, Configuration::kChartKindCount> names;  // the combo boxes' texts

  static CorrespondencePage From(const Configuration& config);
  // Stores each kind's text that names a loaded system (in that system's own spelling); other
  // kinds keep theirs. Returns the number of slots stored.
  int To(Configuration& config, const Aspectarium& aspects) const;
};

}  // namespace settings
