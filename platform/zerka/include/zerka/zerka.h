// Public interface of the platform library: process-wide helpers for the file system, dynamic
// modules, threads, timers, semaphores, console, interrupts, the single-instance lock, the
// user's rights, text/number/date conversions and the machine's BIOS record.
//
// Getters return objects that live until the process ends; objects with a release function are
// created per call and must be given back through it.
#pragma once

#include "zerka/bios.h"
#include "zerka/zerka_app_mutex.h"
#include "zerka/zerka_console.h"
#include "zerka/zerka_filesystem.h"
#include "zerka/zerka_module_loader.h"
#include "zerka/zerka_number_handler.h"
#include "zerka/zerka_semaphore.h"
#include "zerka/zerka_signal_handler.h"
#include "zerka/zerka_string_handler.h"
#include "zerka/zerka_threads.h"
#include "zerka/zerka_time_handler.h"
#include "zerka/zerka_timer.h"
#include "zerka/zerka_user_account.h"
