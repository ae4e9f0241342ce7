#pragma once

// The exit status of kolv_cli that tells a script what a tool result code means; a code the
// tool does not define counts as an invalid result.
unsigned MdrExitStatus(int code);
// The heavier of two such statuses. Any other outcome outweighs success, so one device the
// tool could not work on is never hidden by another one's success.
unsigned MergeToolStatus(unsigned a, unsigned b);
