#include "archive/browser/comment_view.h"

#include "archive/browser/comment_names_dialog.h"
#include "archive/browser/view_kinds.h"
#include "archive/store/archive_layout.h"
#include "astro/chart/published_settings.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/child_frame.h"

namespace {

constexpr int kTabChars = 16;
constexpr int kButtonChars = 25;

}  // namespace

CCommentView::CCommentView(CommentSlotTable& slots, QWidget* parent)
    : CRichTextCtrlView(parent), pages_(slots, GetConfiguration().currentCommentPage) {}

CCommentView::~CCommentView() {
  if (!attached_) return;
  OnDestroy();
  Detach();
}

void CCommentView::OnInitialUpdate() {
  textFraction_ = kTextFraction;
  textLimit_ = kCommentMaxLength;
  if (ChartDocument* document = GetChartDocument()) {
    document->ViewOpened(kDocViewComment);
    document->PartState<OpenCommentView>().view = this;
    attached_ = true;
  }
  CRichTextCtrlView::OnInitialUpdate();
  if (!FillText(false)) return;
  CreateRichEdit();
  BuildHotAreas();
}

std::string CCommentView::GetFrameTitle() const {
  return CRichTextCtrlView::GetFrameTitle() + GetMessageText(kMsgCommentCaption);
}

bool CCommentView::FillText(bool) {
  ChartDocument* document = GetChartDocument();
  Chart* chart = document != nullptr ? document->GetChart() : nullptr;
  if (chart == nullptr) {
    buffer_.clear();
    return true;
  }
  const Status filled = pages_.Fill(*chart, buffer_);
  if (filled.MessageNumber() == kMsgTooManyCommentCharts) {
    ShowMessage(kMsgTooManyCommentCharts);
    saveOnClose_ = false;
    Detach();
    if (platform::ChildFrame* frame = Frame()) frame->deleteLater();
    return false;
  }
  ReportStatus(filled, "CCommentView::FillText");
  return true;
}

Status CCommentView::StorePage() {
  ChartDocument* document = GetChartDocument();
  Chart* chart = document != nullptr ? document->GetChart() : nullptr;
  if (Control() != nullptr) {
    buffer_ = PageTextToFile(Control()->Text());
    if (buffer_.size() > static_cast<std::size_t>(kCommentMaxLength))
      buffer_.resize(static_cast<std::size_t>(kCommentMaxLength));
  }
  if (chart == nullptr) return Status::Ok();
  const Status stored = pages_.Save(*chart, buffer_);
  ReportStatus(stored, "CCommentView::SaveText");
  return stored;
}

int CCommentView::SaveText() {
  const Status stored = StorePage();
  return stored.ok() && !buffer_.empty() ? 0 : -1;
}

void CCommentView::SaveIfKept() {
  if (saveOnClose_) (void)StorePage();
}

void CCommentView::BuildHotAreas() {
  hotAreas_.Clear();
  const Configuration& config = GetConfiguration();
  const ChartDocument* document = GetChartDocument();
  const Chart* chart = document != nullptr ? document->GetChart() : nullptr;
  for (int k = 0; k < kCommentPages; ++k) {
    const int column = k % 4, row = k / 4;
    hotAreas_.Add({250 * column + 10, 330 * row + 35, 250 * column + 240, 330 * row + 310,
                   config.commentPageNames[static_cast<std::size_t>(k)],
                   chart != nullptr ? pages_.PageState(*chart, k) : 0, kTabChars});
  }
  hotAreas_.Add({510, 695, 740, 970, GetMessageText(kMsgDontSave), 0, kButtonChars});
  hotAreas_.Add({760, 695, 990, 970, GetMessageText(kMsgChangeNames), 0, kButtonChars});
}

void CCommentView::OnLButtonDblClk(platform::Point point) {
  const int hit = FindHotArea(point, StripRect());
  if (hit >= 0 && hit < kCommentPages)
    SwitchToPage(hit);
  else if (hit == kChangeNamesArea)
    ChangeNames();
  else if (hit == kDontSaveArea)
    DontSave();
}

void CCommentView::SwitchToPage(int page) {
  if (!attached_ || page < 0 || page >= kCommentPages) return;
  // A page that could not be stored stays shown, with its text, rather than be lost.
  if (!StorePage().ok()) return;
  pages_.SetCurrentPage(page);
  ChangeSettings([page](Configuration& config, Aspectarium&) {
    config.currentCommentPage = static_cast<std::uint16_t>(page);
  });
  if (!FillText(true)) return;
  if (Control() != nullptr) Control()->SetText(PageTextFromFile(buffer_));
  BuildHotAreas();
  viewport()->update();
}

void CCommentView::ChangeNames() {
  DCommentNames dialog(this);
  dialog.LoadFrom(GetConfiguration());
  if (dialog.DoModal() == platform::kIdOk)
    ChangeSettings([&dialog](Configuration& config, Aspectarium&) { dialog.StoreTo(config); });
  BuildHotAreas();
  viewport()->update();
}

void CCommentView::DontSave() {
  saveOnClose_ = false;
  ChartDocument* document = GetChartDocument();
  if (document != nullptr && document->GetChart() != nullptr) pages_.Discard(*document->GetChart());
  // A chart whose last window this is may be kept open (message 502): then the text is stored
  // again as usual, taking a new slot when the old one was given up.
  if (platform::ChildFrame* frame = Frame(); frame != nullptr && !frame->close())
    saveOnClose_ = true;
}

int CCommentView::PrintTitleMessage() const { return kMsgCommentTitle; }

void CCommentView::Detach() {
  if (!attached_) return;
  attached_ = false;
  if (ChartDocument* document = GetChartDocument()) {
    OpenCommentView& open = document->PartState<OpenCommentView>();
    if (open.view == this) open.view = nullptr;
    document->ViewClosed(kDocViewComment);
  }
}
