// Opening an archive or a converted file of another program.
#include "archive/import/archive_import.h"

#include "archive/store/archive_index.h"
#include "archive/store/archive_internal.h"
#include "archive/store/recent_archives.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "platform/core/prompter.h"

using namespace archive_detail;

int ArchiveImport::OpenOtherArchive() {
  platform::FileChoice choice =
      ArchiveFileChoice(true, ArchiveFilter::kVersion4, index_.DialogFolder());
  choice.mustExist = true;
  choice.filters.push_back({Cp1251("Данные Ormandel 2.* (*.db)"), "*.db"});
  choice.filters.push_back({Cp1251("Конфигурация Velm 3.* (*.cfg)"), "*.cfg"});
  for (const char* extension : {"cat", "bda", "zbs", "ddd", "mil", "dat"})
    choice.filters.push_back(
        {Cp1251("Гороскопы других программ (*.") + extension + ")", std::string("*.") + extension});
  if (!platform::GetPrompter().ChooseFile(choice)) return 0;
  std::string name = choice.path;
  const int type = importer_ ? importer_->DefineFileType(name) : index_.IfRealArchive(name);
  const bool archive = IsKnownLayout(type);
  const bool foreign = type == 0 || type == 1 || type == 6 || (type >= 8 && type <= 12);
  if (foreign && importer_) {
    std::string converted;
    if (importer_->ConvertToArchive(name, converted, type) != 0) return 0;
    name = converted;
  } else if (!archive) {
    ReportStatus(Status::Message(kMsgNotAnArchive, name));
    return 0;
  }
  if (index_.SetPath(name) < 0) {
    ReportStatus(Status::Message(kMsgNotAnArchive, name));
    return 0;
  }
  recent_.AddRecentName(name);
  return index_.CreateIndex() == 0 ? 1 : 0;
}
