// DCommentNames (dialog 237 "НАЗВАНИЯ КОММЕНТАРИЕВ"): the names of the ten comment pages. The
// edits start from the configuration's names; OK copies them back, Cancel changes nothing.
#pragma once

#include <array>
#include <string>

#include "platform/qt/dialog.h"

class Configuration;
class QLineEdit;

class DCommentNames : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kPages = 10;
  // Page 0 in control 1610, pages 1..8 in 1611..1618, page 9 in 1619.
  static constexpr int kIdcFirstName = 1610;
  static constexpr int kMaxNameChars = 24;

  explicit DCommentNames(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  // The names from and to the configuration (each cut to kMaxNameChars bytes).
  void LoadFrom(const Configuration& config);
  void StoreTo(Configuration& config) const;

  std::array<std::string, kPages> names;  // code page 1251

 private:
  std::array<QLineEdit*, kPages> edits_{};
};
