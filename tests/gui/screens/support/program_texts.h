// The program's English texts and its images, as the built program finds them beside it.
#pragma once

class QAbstractButton;
class QString;
class QTranslator;

// Records a test failure when a step fails; the caller returns on QTest::currentTestFailed().
void LoadProgramTexts(QTranslator* translator);

// What a button draws as its label, when it is also its accessible name; otherwise both, told
// apart.
QString Shown(QAbstractButton* button);
