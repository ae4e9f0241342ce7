#include "gui/screens/fork_screen.h"

#include "gui/shell/kolv_lite_controller.h"

ForkScreen::ForkScreen(KolvLiteController* controller)
    : KolvLiteScreen(controller), current_flow_(-1) {}

ForkScreen::~ForkScreen() = default;

int ForkScreen::current_flow() const { return current_flow_; }

ForkScreen::Flow ForkScreen::flow(int index) const {
  return index >= 0 && index < flows_.size() ? flows_[index] : Flow();
}

int ForkScreen::CreateNewFlow(QString name) {
  flows_.append(Flow(std::move(name), QList<KolvLiteScreen*>()));
  return flows_.size() - 1;
}

void ForkScreen::AddNewFlow(Flow flow) {
  for (KolvLiteScreen* screen : flow.second) Watch(screen);
  flows_.append(std::move(flow));
}

bool ForkScreen::AddNewScreenToFlow(int flow, KolvLiteScreen* screen) {
  if (flow < 0 || flow >= flows_.size()) return false;
  Watch(screen);
  flows_[flow].second.append(screen);
  return true;
}

void ForkScreen::Watch(KolvLiteScreen* screen) {
  if (screen != nullptr)
    connect(screen, &QObject::destroyed, this, &ForkScreen::ForgetScreen, Qt::UniqueConnection);
}

void ForkScreen::ForgetScreen(QObject* screen) {
  const auto gone = [screen](KolvLiteScreen* each) { return each == screen; };
  for (Flow& flow : flows_) flow.second.removeIf(gone);
  owned_screens_.removeIf(gone);
}

bool ForkScreen::InstallFlow(int index) {
  if (index < 0 || index >= flows_.size()) {
    emit IsPossibleFlow(false);
    return false;
  }
  if (index == current_flow_) {
    emit IsPossibleFlow(true);
    return true;
  }
  UninstallCurrentScreenFlow();
  set_selected_option(flows_[index].first);
  // A copy: installing a nested fork's flow must not disturb the walk.
  const QList<KolvLiteScreen*> screens = flows_[index].second;
  for (KolvLiteScreen* screen : screens) {
    if (screen == nullptr) continue;
    controller->AddFlowScreen(screen, true);
    InstallScreenDefaultFlow(screen);
  }
  current_flow_ = index;
  emit UpdatedCurrentFlow(index);
  emit IsPossibleFlow(true);
  return true;
}

void ForkScreen::InstallDefaultFlow() {
  if (flows_.isEmpty()) return;
  InstallFlow(0);
  const QList<KolvLiteScreen*> screens = flows_[0].second;
  for (KolvLiteScreen* screen : screens) InstallScreenDefaultFlow(screen);
}

void ForkScreen::InstallScreenDefaultFlow(KolvLiteScreen* screen) {
  if (auto* fork = qobject_cast<ForkScreen*>(screen)) fork->InstallDefaultFlow();
}

void ForkScreen::UninstallCurrentScreenFlow() {
  if (current_flow_ == -1) return;
  const int installed = current_flow_;
  // Cleared first: a nested screen's Unload must not find this flow still installed.
  current_flow_ = -1;
  if (installed < 0 || installed >= flows_.size()) return;
  const QList<KolvLiteScreen*> screens = flows_[installed].second;
  for (KolvLiteScreen* screen : screens) {
    if (screen != nullptr) controller->RemoveFlowScreen(screen);
  }
}

void ForkScreen::Unload() {
  loaded = false;
  UninstallCurrentScreenFlow();
}

void ForkScreen::DeleteFlowScreens() {
  while (!owned_screens_.isEmpty()) {
    KolvLiteScreen* screen = owned_screens_.takeFirst();
    delete screen;
  }
}
