#include "gui/shell/kolv_lite_screen.h"

KolvLiteScreen::KolvLiteScreen(KolvLiteController* owner)
    : QWidget(nullptr), controller(owner), loaded(false) {}

KolvLiteScreen::~KolvLiteScreen() = default;

bool KolvLiteScreen::HasStep() const { return !step_.isEmpty(); }

QString KolvLiteScreen::step() const { return step_; }

void KolvLiteScreen::set_step(QString step) { step_ = std::move(step); }

QString KolvLiteScreen::step_selected_option() const { return selected_option; }

void KolvLiteScreen::set_selected_option(QString option) { selected_option = std::move(option); }

bool KolvLiteScreen::IsLoaded() const { return loaded; }

void KolvLiteScreen::OnEnter() {}

void KolvLiteScreen::OnExit() {}

void KolvLiteScreen::OnKeyPress(QKeyEvent*) {}
