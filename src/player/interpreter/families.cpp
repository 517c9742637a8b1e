#include "player/interpreter/families.h"

#include "player/interpreter/interpreter.h"

namespace wdx::player {

void AddBuiltInFamilies(Interpreter& in) {
  using Maker = std::unique_ptr<CommandFamily> (*)(Interpreter&);
  static constexpr Maker kMakers[] = {
      &MakeKeyFamily, &MakeSkippedTagFamily, &MakeTimingFamily, &MakeDateTimeFamily, &MakeVariableFamily,
      &MakePauseFamily,
      &MakeRepeatFamily, &MakeIfFamily,
      &MakeMacroControlFamily,
      &MakeWindowFamily, &MakeLaunchFamily, &MakeMouseFamily, &MakeWaitFamily,
      &MakePromptFamily, &MakeVariableSourceFamily,
      &MakeEmailFamily, &MakeDialUpFamily, &MakeNetworkDriveFamily,
      &MakeFileLoopFamily, &MakeLogFamily, &MakeFileTextFamily, &MakeFilesFoldersFamily,
      &MakeTextBoxFamily, &MakeBlockCaseFamily,
      &MakeSystemFamily, &MakeSoundFamily, &MakeCdAudioFamily, &MakeVideoFamily,
      &MakeClipboardFamily,
  };
  for (const Maker make : kMakers) in.AddFamily(make(in));
}

}  // namespace wdx::player
