#pragma once
// The help context of every window: the numbers the help map (help/contexts.txt) gives a page.
// F1 and a window's Help button open the page of its context (HelpViewer.h).

enum EHelpContext : int {
    hcMain = 1,
    hcConnection = 2,
    hcBoardDescription = 8,
    hcDiscovery = 9,
    hcMonitor = 13,
    hcGenerators = 14,
    hcSpeedometer = 15,
    hcConfigureBoards = 80,
    hcLayoutCheck = 81,
    hcQXP6Board = 400,
    hcQXP6OutputCell = 410,
    hcQXP6InputCell = 420,
    hcQXP6Route = 430,
    hcQXP6Conditions = 440,
    hcORB4Board = 500,
    hcORBSignal = 520,
    hcORBZone = 530,
    hcORBConditions = 540,
    hcORB8Board = 560,
    hcKPX9Board = 600,
    hcKPX9Cell = 610,
    hcKPX9Route = 620,
    hcRVN2Board = 700,
    hcRVN2Sequence = 710,
    hcRVN2Wizard = 720,
};
