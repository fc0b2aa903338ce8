// What the windows and dialogs of the subsystems need of the application: the main window, the
// program-wide archive and comment slots, the registered view templates and the open documents,
// the data folder, the life-event lists and life-point types, and a chart document opened from a
// creation argument. The shell's CKovraApp implements it; a ui part never sees the application
// class itself.
#pragma once

#include <string>
#include <string_view>

#include "document/view_kinds.h"

class AllMaps;
class Archive;
class Chart;
class ChartDocument;
class CommentSlotTable;
class LifeEventList;
class LifePointAll;
class QWidget;
struct DocCreation;

namespace platform {
class DocManager;
class DocTemplate;
}  // namespace platform

class Workbench {
 public:
  virtual ~Workbench() = default;

  // The parent of the dialogs; nullptr before the main window exists.
  virtual QWidget* MainWindow() const = 0;
  // The archive of the program (its current archive file and index).
  virtual Archive& GetArchive() = 0;
  // The table of the comment slots 1..255 taken by open charts.
  virtual CommentSlotTable& CommentSlots() = 0;
  // The templates and the open documents.
  virtual platform::DocManager& Documents() = 0;
  // The template of view kind `number`; nullptr when that kind is not registered.
  virtual platform::DocTemplate* GetTemplate(int number) const = 0;
  // A new chart document made as `creation` says, with the view of template `templateNumber`;
  // nullptr when refused or cancelled, or when the template is not registered.
  virtual ChartDocument* OpenChartDocument(DocCreation creation,
                                           int templateNumber = kMainChartTemplate) = 0;
  // The path of a data file in the data folder.
  virtual std::string GetPath(std::string_view name) const = 0;
  // The kind of the last new chart asked for (natal at first).
  virtual int CurrentChartKind() const = 0;
  // The life events of the rectification by events ("velm.lev") and of the Tremin method
  // ("velm.tev"), loaded at start.
  virtual LifeEventList& RectificationEvents() = 0;
  virtual LifeEventList& TreminEvents() = 0;
  // The world and regional maps of the astrocartography views, loaded at start.
  virtual AllMaps& GetMaps() = 0;
  // A chart for a window's own use: its kind chosen from the chart-kind list, its data entered
  // through the entry dialog of that kind, then computed into `chart`. False (the chart as it
  // was) when the user cancels or the chart cannot be computed (reported).
  virtual bool EnterChart(Chart& chart) = 0;
  // The life-point types ("velm.lpn"), loaded at start.
  virtual const LifePointAll& LifePointTypes() const = 0;
  // The tip-of-the-day settings of the profile: shown at start or not, and the number of the next
  // tip (written with the profile at exit).
  virtual void SetTipOfTheDay(bool showAtStart, int nextTip) = 0;
};
