#pragma once

class RunOutcome;

// The exit status of kolv_cli that tells a script what a tool result code means; a code the
// tool does not define counts as an invalid result.
unsigned MdrExitStatus(int code);
// Weighs a device's or a partition's result code into the run's outcome. A success says nothing
// of the other devices and is not reported: the run succeeds only when no device ended any other
// way, so one device the tool could not work on is never hidden by another one's success.
void ReportToolResult(RunOutcome& outcome, int code);
