// Progress of a long computation that runs inside the command that started it. The program shows
// the modeless progress dialog behind it; tests record the positions.
#pragma once

namespace platform {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void Begin() {}
  virtual void SetPos(int percent) = 0;  // 0..100
  virtual void End() {}
};

// A sink that shows nothing.
class NullProgress final : public ProgressSink {
 public:
  void SetPos(int) override {}
};

}  // namespace platform
