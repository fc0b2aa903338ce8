#include "astro/aspects/aspectarium.h"

#include <algorithm>
#include <system_error>

#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace {

bool HasAspExtension(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  for (char& c : ext) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
  return ext == ".ASP";
}

}  // namespace

std::vector<Status> Aspectarium::LoadAll(const std::filesystem::path& folder) {
  folder_ = folder;
  systems_.clear();
  std::vector<Status> problems;
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_regular_file(ec) && HasAspExtension(it->path())) files.push_back(it->path());
  }
  if (ec) problems.push_back(Status::Error(kErrCannotOpen, folder.string()));
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    auto system = std::make_unique<AspectSystem>();
    if (Status st = system->LoadSystem(file); !st.ok()) {
      problems.push_back(std::move(st));
      continue;
    }
    if (IndexOf(system->GetName()) >= 0) {
      // Two files whose names differ only in letter case ("velm.asp", "VELM.ASP").
      problems.push_back(Status::Error(kErrFormat, file.string(), 8));
      continue;
    }
    if (Count() >= kMaxSystems) {
      problems.push_back(Status::Message(kMsgTooManySystems, file.string()));
      continue;
    }
    systems_.push_back(std::move(system));
  }
  return problems;
}

Status Aspectarium::LoadInto(const std::filesystem::path& file,
                             const std::filesystem::path& folder) {
  folder_ = folder;
  systems_.clear();
  auto system = std::make_unique<AspectSystem>();
  if (Status st = system->LoadSystem(file); !st.ok()) return st;
  system->SetFile(folder / file.filename());
  systems_.push_back(std::move(system));
  return Status::Ok();
}

std::vector<std::string> Aspectarium::Names() const {
  std::vector<std::string> names;
  names.reserve(systems_.size());
  for (const auto& system : systems_) names.push_back(system->GetName());
  return names;
}

int Aspectarium::IndexOf(std::string_view name) const {
  const std::string upper = SystemNameUpper(name);
  for (std::size_t i = 0; i < systems_.size(); ++i)
    if (systems_[i]->GetName() == upper) return static_cast<int>(i);
  return -1;
}

int Aspectarium::HasSystem(std::string_view name) const { return IndexOf(name) >= 0 ? 1 : 0; }

AspectSystem* Aspectarium::FindSystem(std::string_view name) {
  const int i = IndexOf(name);
  return i < 0 ? nullptr : systems_[static_cast<std::size_t>(i)].get();
}

const AspectSystem* Aspectarium::FindSystem(std::string_view name) const {
  const int i = IndexOf(name);
  return i < 0 ? nullptr : systems_[static_cast<std::size_t>(i)].get();
}

int Aspectarium::AddSystem(std::string_view name, const AspectSystem& from) {
  if (Count() >= kMaxSystems) {
    ShowMessage(kMsgTooManySystems);
    return -1;
  }
  if (!IsValidSystemName(name)) {
    ShowAspectMessage(kAspMsgBadName);
    return -1;
  }
  if (HasSystem(name)) {
    ShowAspectMessage(kAspMsgNameTaken);
    return -1;
  }
  auto system = std::make_unique<AspectSystem>(name, folder_ / SystemFileName(name));
  system->SetAspects(from.Aspects());
  if (!system->SaveSystem().ok()) return -1;  // reported by SaveSystem
  systems_.push_back(std::move(system));
  return 0;
}

int Aspectarium::DeleteSystemFile(std::string_view name) {
  const int i = IndexOf(name);
  std::error_code ec;
  if (i < 0) {
    ShowMessage(kMsgCannotDeleteSystem);
    return -1;
  }
  std::filesystem::remove(systems_[static_cast<std::size_t>(i)]->File(), ec);
  if (ec) {
    ShowMessage(kMsgCannotDeleteSystem);
    return -1;
  }
  systems_.erase(systems_.begin() + i);
  return 0;
}

AspectSystem* Aspectarium::GetCurrentSystem(std::string_view name) {
  if (AspectSystem* named = FindSystem(name)) return named;
  return systems_.empty() ? nullptr : systems_.front().get();
}

Aspectarium& GetAspectarium() {
  static Aspectarium aspectarium;
  return aspectarium;
}
