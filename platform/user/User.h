#pragma once
// Everything of the window system in one include.

#include "platform/user/Caret.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Messages.h"
#include "platform/user/Paint.h"
#include "platform/user/ScrollBar.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"
#include "platform/user/WindowSystem.h"
