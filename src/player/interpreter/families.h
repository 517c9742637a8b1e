// The command families built into the interpreter, one maker each (in the family's own source
// file). A new family adds its maker here and to the list in families.cpp; the interpreter's
// header does not change.
#pragma once

#include <memory>

#include "player/interpreter/command_family.h"

namespace wdx::player {

std::unique_ptr<CommandFamily> MakeKeyFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeSkippedTagFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeTimingFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeDateTimeFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeVariableFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakePauseFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeRepeatFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeIfFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeMacroControlFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeWindowFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeLaunchFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeMouseFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeWaitFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakePromptFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeVariableSourceFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeEmailFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeDialUpFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeNetworkDriveFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeFileLoopFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeLogFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeFileTextFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeFilesFoldersFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeTextBoxFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeBlockCaseFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeSystemFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeSoundFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeCdAudioFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeVideoFamily(Interpreter& in);
std::unique_ptr<CommandFamily> MakeClipboardFamily(Interpreter& in);

// Adds every family above to the interpreter.
void AddBuiltInFamilies(Interpreter& in);

}  // namespace wdx::player
