// An aspect system: a named list of at most 50 aspects, kept in its own ".ASP" file. The aspect
// searches try the aspects in system order; the first that fits wins.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "astro/aspects/aspect.h"
#include "foundation/status.h"

// What an aspect search found.
struct AspectMatch {
  // 2 within the exact orb, 0 within the column's orb; 3 forming, 4 separating (motion search);
  // -1 none.
  int result = -1;
  int position = -1;        // of the aspect in its system
  double separation = 0.0;  // of the two longitudes, folded into 0..180
  double deviation = 0.0;   // separation minus the aspect's angle
  int major = 0;            // 1 for a major aspect
  int type = 0;             // the aspect's nature byte
  int side = 0;             // 1 within the exact orb, else 0 below the angle, 2 above it

  bool Found() const { return result >= 0; }
};

class AspectSystem {
 public:
  static constexpr int kMaxAspects = 50;
  static constexpr std::size_t kMaxNameLength = 8;

  AspectSystem() = default;
  // A system of that name (upper-cased) kept in `file`; nothing is read or written.
  AspectSystem(std::string_view name, std::filesystem::path file);

  // The display name: the file name without ".ASP", upper case.
  const std::string& GetName() const { return name_; }
  const std::filesystem::path& File() const { return file_; }
  int Count() const { return static_cast<int>(aspects_.size()); }
  const std::vector<Aspect>& Aspects() const { return aspects_; }
  // Aspect at a position 0..Count()-1 (check it first with CheckAspectNumber).
  const Aspect& GetAspect(int position) const {
    return aspects_.at(static_cast<std::size_t>(position));
  }
  Aspect& GetAspect(int position) { return aspects_.at(static_cast<std::size_t>(position)); }

  // 0 when 0 <= n < Count(); otherwise shows aspect-system message 2 and returns -1.
  int CheckAspectNumber(int n) const;
  // 0 when aspect i is major, -1 otherwise; an index outside the system shows message 2.
  int IsMajorAspect(int i) const;

  // Searches for an aspect between two longitudes (degrees; -777.0 finds nothing).
  AspectMatch FindAspect(double longitudeA, double longitudeB, OrbColumn column) const;
  // The same search; the match also tells major, type and side.
  AspectMatch FindAspectBetween(double longitudeA, double longitudeB, OrbColumn column) const;
  // An aspect within the column's orb plus 0.033 degrees: result 3 when it is forming (the
  // deviation from the exact angle shrinks with the given daily speeds), 4 when it is separating
  // (also when exact or when the separation does not change).
  AspectMatch FindAspectMotion(double longitudeA, double speedA, double longitudeB, double speedB,
                               OrbColumn column) const;
  // The position of the first aspect whose angle has aspect index `aspectIndex`, -1 when none.
  int FindAspectByClass(int aspectIndex) const;
  // The position of the n-th (from 0) major aspect, -1 when none.
  int FindMajorAspect(int n) const;

  // Appends an aspect: 0, or -1 with message 3 when the system holds 50 already, or with message
  // 1 when its angle or an orb is not a finite number.
  int AddAspect(const Aspect& aspect);
  // Removes the aspect at `position`: 0, or -1 with message 2 when there is none.
  int DeleteAspect(int position);
  // Replaces the aspects (the list of another system), at most 50 kept.
  void SetAspects(std::vector<Aspect> aspects);

  // Rewrites the system's file. A failure is reported to the user and returned.
  Status SaveSystem() const;
  // Reads `file`; on success the system takes its aspects, the file and the name from the file
  // name. Error 102/103 when it cannot be read, 106 when it is damaged (nothing changes).
  Status LoadSystem(const std::filesystem::path& file);
  // The file SaveSystem rewrites.
  void SetFile(std::filesystem::path file) { file_ = std::move(file); }

  // The file contents of a list of aspects, and back (error 106 naming `where` when damaged).
  static std::string Serialize(const std::vector<Aspect>& aspects);
  static Status Parse(std::string_view bytes, std::vector<Aspect>& out, const std::string& where);

 private:
  AspectMatch Match(const Aspect& aspect, int position, double separation, OrbColumn column) const;

  std::string name_;
  std::filesystem::path file_;
  std::vector<Aspect> aspects_;
};

// The display name of a system kept in `file` ("velm.asp" -> "VELM"): the file name without its
// extension, upper case. Empty when the file name is not a valid system name.
std::string SystemNameOfFile(const std::filesystem::path& file);
// True when `name` (code page 1251) can be a system name: 1..8 characters, no path characters,
// no dot, no control character, no blank at either end.
bool IsValidSystemName(std::string_view name);
// Upper case of a system name (Latin and Cyrillic letters of code page 1251).
std::string SystemNameUpper(std::string_view name);
// The file name of a system: the name in the file system's encoding and ".ASP".
std::filesystem::path SystemFileName(std::string_view name);
