// Actions: a command with its caption, enabled state and handler, shared
// by the menu items (and other clients) linked to it.
//
// The linked-property rule: when an action property changes, a client's
// property follows only while the client still shows the action's old
// value; a client whose property was changed by hand keeps its own value.
// Linking a client copies every action property to it. Freeing the action
// unlinks its clients (free notification through the link).
#pragma once

#include <vector>

#include "classes/component.h"
#include "rtl/method.h"

namespace brevant {

class TActionLink;

class TBasicAction : public TComponent {
  BV_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* owner);
  void BeforeDestruction() override;

  // OnExecute with the action as sender; false when none is assigned.
  virtual bool Execute();
  // OnUpdate; false when none is assigned.
  virtual bool Update();
  // The client that executed the action last.
  TComponent* ActionComponent() const { return actionComponent_; }
  void SetActionComponent(TComponent* value) { actionComponent_ = value; }

  void RegisterChanges(TActionLink* link);
  void UnRegisterChanges(TActionLink* link);
  Integer ClientCount() const { return static_cast<Integer>(clients_.size()); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  std::vector<TActionLink*> clients_;

 private:
  TComponent* actionComponent_ = nullptr;
};

class TCustomAction : public TBasicAction {
  BV_CLASS(TCustomAction, TBasicAction)
 public:
  using TBasicAction::TBasicAction;
  // Disabled actions do not execute.
  bool Execute() override;

  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  const String& Hint() const { return hint_; }
  void SetHint(const String& value);
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer value);
  Word ShortCut() const { return shortCut_; }
  void SetShortCut(Word value);
  const String& Category() const { return category_; }
  void SetCategory(const String& value) { category_ = value; }

 private:
  String caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  String hint_;
  Integer imageIndex_ = -1;
  Word shortCut_ = 0;
  String category_;
};

class TAction : public TCustomAction {
  BV_CLASS(TAction, TCustomAction)
 public:
  using TCustomAction::TCustomAction;
};

// The link between a client and its action. A client class derives its own
// link that reads and writes the client's properties; IsXLinked answers
// whether the client's X still equals the action's X.
class TActionLink : public TObject {
  BV_CLASS(TActionLink, TObject)
 public:
  explicit TActionLink(TComponent* client) : client_(client) {}
  ~TActionLink() override;

  TBasicAction* Action() const { return action_; }
  // Links to value (nullptr: unlinks) and copies its properties to the client.
  void SetAction(TBasicAction* value);
  TComponent* Client() const { return client_; }
  // Executes the action for the client; false when it did not run.
  bool Execute(TComponent* component);
  // The action is going away.
  void ActionFreed() { action_ = nullptr; }

  // ---- the client's side of each property ----
  virtual bool IsCaptionLinked() const { return false; }
  virtual bool IsCheckedLinked() const { return false; }
  virtual bool IsEnabledLinked() const { return false; }
  virtual bool IsVisibleLinked() const { return false; }
  virtual bool IsHintLinked() const { return false; }
  virtual bool IsImageIndexLinked() const { return false; }
  virtual bool IsShortCutLinked() const { return false; }
  virtual void SetCaption(const String&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetVisible(bool) {}
  virtual void SetHint(const String&) {}
  virtual void SetImageIndex(Integer) {}
  virtual void SetShortCut(Word) {}

 protected:
  TCustomAction* CustomAction() const;

 private:
  TComponent* client_;
  TBasicAction* action_ = nullptr;
};

}  // namespace brevant
