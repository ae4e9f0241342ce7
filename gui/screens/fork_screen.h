// A screen at which the user chooses between alternative flows. Choosing one takes the screens
// of the previously installed flow out of the controller's flow list and appends the chosen
// flow's screens behind the fork; a nested fork brings its own default flow along. Exported to
// GUI tool plug-ins, which derive their operation screens from it.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

#include "gui/shell/kolv_lite_screen.h"

class ForkScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  typedef QPair<QString, QList<KolvLiteScreen*>> Flow;

  explicit ForkScreen(KolvLiteController* controller);
  // Deletes no screen: subclasses delete theirs with DeleteFlowScreens.
  ~ForkScreen() override;

  // Index of the installed flow, -1 when none.
  int current_flow() const;
  int flow_count() const { return flows_.size(); }
  // The flow's display name and screens; an empty flow for an index out of range.
  Flow flow(int index) const;

 signals:
  void IsPossibleFlow(bool possible);
  void UpdatedCurrentFlow(int index);

 public slots:
  // Clears the loaded flag and takes the installed flow out of the controller.
  void Unload() override;
  // Installs flow 0, and below it the default flows of nested forks; nothing without flows.
  virtual void InstallDefaultFlow();

 protected slots:
  // false (and IsPossibleFlow(false)) for an index out of range; the installed flow stays then.
  bool InstallFlow(int index);

 protected:
  // Appends a flow without screens and returns its index.
  int CreateNewFlow(QString name);
  void AddNewFlow(Flow flow);
  // Takes no ownership; false when the flow does not exist.
  bool AddNewScreenToFlow(int flow, KolvLiteScreen* screen);
  void InstallScreenDefaultFlow(KolvLiteScreen* screen);
  void UninstallCurrentScreenFlow();
  // Deletes every screen of owned_screens_ and empties it.
  void DeleteFlowScreens();

  QList<KolvLiteScreen*> owned_screens_;
  int current_flow_;
  QVector<Flow> flows_;

 private slots:
  // A flow screen deleted elsewhere (a plug-in's may go as it unloads) leaves every flow, and is
  // never installed or deleted again.
  void ForgetScreen(QObject* screen);

 private:
  void Watch(KolvLiteScreen* screen);
};
