// libFuzzer 14's entropic scheduler keeps a list of the features it counts as
// rare, and scans that list for every rare feature an input touches. By
// default a feature stays rare until it has been seen 255 times, and the list
// is pruned only when a new feature turns up. From a corpus minimised after a
// deep run, nearly every feature is rare and new ones are scarce: the scans
// took up to a third of each run, and the deeper the corpus, the slower every
// run that started from it. Counting a feature as rare only until its eighth
// sighting keeps the scheduler and its preference for the rarest features,
// and the list short. A threshold given on the command line still wins, being
// read after this one.
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static constexpr char kThreshold[] = "-entropic_feature_frequency_threshold=8";
    static std::vector<char *> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + 1, const_cast<char *>(kThreshold));
    arguments.push_back(nullptr);
    *argc += 1;
    *argv = arguments.data();
    return 0;
}
