#include "player/prompts/text_boxes.h"

#include <algorithm>

#include "player/prompts/message_windows.h"

namespace wdx::player {

namespace {

// The memo's margin, the Ok button's size and its distance from the bottom.
constexpr int kMargin = 4;
constexpr int kButtonWidth = 41;
constexpr int kButtonHeight = 21;
constexpr int kButtonBand = 33;
constexpr int kButtonFromBottom = 25;

}  // namespace

TDoMyMess3::TDoMyMess3(const TextBoxText& box, std::uint32_t id, int screenWidth, int screenHeight)
    : PromptForm("DoMyMess3", "Message"), type_(box.type), id_(id) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetToolWindow(true);
  SetStayOnTop(true);
  SetCaption(box.header);
  TheMessage.SetReadOnly(true);
  TheMessage.SetScrollBars(forms::ScrollBars::kVertical);
  TheMessage.SetWantReturns(false);
  TheMessage.SetText(WithLineBreaks(box.body));
  OkButton.SetDefault(true);
  OkButton.SetModalResult(forms::ModalResult::kOk);
  if (!waitsForOk()) {
    OkButton.SetVisible(false);
    OkButton.SetEnabled(false);
  }
  // Too small a box gets the size that shows its text.
  const int width = box.width < kMinimumWidth ? kReplacedSize : box.width;
  const int height = box.height < kMinimumHeight ? kReplacedSize : box.height;
  if (box.centred) {
    SetBounds((screenWidth - width) / 2, (screenHeight - height) / 2, width, height);
  } else {
    SetBounds(box.left, box.top, width, height);
  }
  // Type 2 closes after its seconds; 0 seconds never.
  if (type_ == 2 && box.seconds > 0) {
    MyTimer.SetInterval(static_cast<std::uint32_t>(box.seconds) * 1000u);
    MyTimer.SetEnabled(true);
  }
  MyTimer.onTimer = [this] {
    MyTimer.SetEnabled(false);
    Close();
  };
  onShow = [this] { FormShow(); };
  onResize = [this] { FormResize(); };
  onClose = [this](forms::CloseAction&) {
    MyTimer.SetEnabled(false);
    if (onClosed) onClosed(id_);
  };
  FormResize();
}

void TDoMyMess3::FormShow() {
  FormResize();
  Shown();
}

void TDoMyMess3::FormResize() {
  const int w = std::max(clientWidth() - 2 * kMargin, 0);
  if (waitsForOk()) {
    TheMessage.SetBounds(kMargin, kMargin, w, std::max(clientHeight() - kButtonBand, 0));
    OkButton.SetBounds((clientWidth() - kButtonWidth) / 2, clientHeight() - kButtonFromBottom, kButtonWidth,
                       kButtonHeight);
  } else {
    TheMessage.SetBounds(kMargin, kMargin, w, std::max(clientHeight() - 2 * kMargin, 0));
  }
}

OnTopBoxes::~OnTopBoxes() { CloseAll(); }

TDoMyMess3& OnTopBoxes::Add(const TextBoxText& box, int screenWidth, int screenHeight) {
  FreeClosed();
  Node node;
  node.id = ++lastId_;
  node.form = std::make_unique<TDoMyMess3>(box, node.id, screenWidth, screenHeight);
  node.form->onClosed = [this](std::uint32_t id) {
    for (Node& n : nodes_) {
      if (n.id == id) n.closed = true;
    }
    if (notice_) notice_(id);
  };
  nodes_.push_back(std::move(node));
  return *nodes_.back().form;
}

void OnTopBoxes::Free(Node& node) {
  node.closed = true;
  node.form.reset();
}

void OnTopBoxes::FreeClosed() {
  for (Node& n : nodes_) {
    if (n.closed && n.form) Free(n);
  }
}

void OnTopBoxes::Remove(std::uint32_t id) {
  for (Node& n : nodes_) {
    if (n.id == id && n.form) {
      Free(n);
      return;
    }
  }
}

void OnTopBoxes::CloseByHeader(const std::string& header) {
  FreeClosed();
  for (Node& n : nodes_) {
    if (n.form && !n.closed && n.form->caption() == header) {
      Free(n);
      return;
    }
  }
}

void OnTopBoxes::Closed(std::uint32_t id) {
  if (clearing_) return;
  Remove(id);
}

void OnTopBoxes::CloseAll() {
  clearing_ = true;
  for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it) Free(*it);
  nodes_.clear();
  clearing_ = false;
}

std::vector<const TDoMyMess3*> OnTopBoxes::OpenBoxes() const {
  std::vector<const TDoMyMess3*> out;
  for (const Node& n : nodes_) {
    if (n.form && !n.closed) out.push_back(n.form.get());
  }
  return out;
}

}  // namespace wdx::player
