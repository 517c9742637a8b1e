// The text boxes of a run: TDoMyMess3, a small stay-on-top window with a header and a
// read-only text that waits for Ok (type 1), closes itself after some seconds (type 2) or
// floats (any other type) until a close command or the end of the run; and OnTopBoxes, the
// list of every box of the current run.
//
// A box the user or its timer closes hides at once and tells the player (UM_TEXTBOXCLOSED with
// its id); the player frees it when that message comes, never inside the box's own handler.
// Ids are never handed out twice in the player's life, so a late message of a box that is
// gone can never close a newer one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/runner.h"
#include "player/interpreter/interpreter_host.h"
#include "player/interpreter/macro_prompts.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

class TDoMyMess3 : public PromptForm {
 public:
  static constexpr int kMinimumWidth = 40;
  static constexpr int kMinimumHeight = 20;
  static constexpr int kReplacedSize = 100;

  TDoMyMess3(const TextBoxText& box, std::uint32_t id, int screenWidth, int screenHeight);

  std::uint32_t id() const { return id_; }
  bool waitsForOk() const { return type_ == 1; }

  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Memo TheMessage{this, "TheMessage"};
  forms::Timer MyTimer{this, "MyTimer"};

  // Runs when the box closes (by Ok, its close box or its timer).
  std::function<void(std::uint32_t id)> onClosed;

 private:
  void FormShow();
  void FormResize();

  std::int32_t type_;
  std::uint32_t id_;
};

class OnTopBoxes {
 public:
  OnTopBoxes() = default;
  ~OnTopBoxes();
  OnTopBoxes(const OnTopBoxes&) = delete;
  OnTopBoxes& operator=(const OnTopBoxes&) = delete;

  // What a box that closed tells: the player posts UM_TEXTBOXCLOSED (0, id) to its main window.
  // Without one, a closed box is freed at the list's next change.
  void SetClosedNotice(std::function<void(std::uint32_t id)> notice) { notice_ = std::move(notice); }

  // A new box in the list, not shown yet (its id the next one).
  TDoMyMess3& Add(const TextBoxText& box, int screenWidth, int screenHeight);
  // Frees the box with that id, if it is still in the list.
  void Remove(std::uint32_t id);
  // Closes the first open box (in the order they opened) whose caption is exactly `header`.
  void CloseByHeader(const std::string& header);
  // UM_TEXTBOXCLOSED: Remove, unless the list is being emptied.
  void Closed(std::uint32_t id);
  // The end of a run: every box closes and the list empties.
  void CloseAll();

  // The boxes up now, in the order they opened.
  std::vector<const TDoMyMess3*> OpenBoxes() const;

 private:
  struct Node {
    std::unique_ptr<TDoMyMess3> form;
    std::uint32_t id = 0;
    bool closed = false;   // freed, or hidden by its user and waiting to be freed
  };
  void Free(Node& node);
  void FreeClosed();

  std::vector<Node> nodes_;
  std::uint32_t lastId_ = 1;
  bool clearing_ = false;
  std::function<void(std::uint32_t id)> notice_;
};

}  // namespace wdx::player
