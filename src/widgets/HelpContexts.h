#pragma once
// The help context of every window: the numbers the help map (help/contexts.txt) gives a page,
// named here with the page the shipped map gives.
// F1 and a window's Help button open the page of its context (HelpViewer.h).

enum EHelpContext : int {
    hcMain = 1, // main.html
    hcConnection = 2, // connection.html
    hcBoardDescription = 8, // description.html
    hcDiscovery = 9, // discovery.html
    hcMonitor = 13, // monitor.html
    hcGenerators = 14, // generators.html
    hcSpeedometer = 15, // speedometer.html
    hcConfigureBoards = 80, // boardlist.html
    hcLayoutCheck = 81, // layout-check.html
    hcQXP6Board = 400, // qxp6.html
    hcQXP6OutputCell = 410, // qxp6-output-cell.html
    hcQXP6InputCell = 420, // qxp6-input-cell.html
    hcQXP6Route = 430, // qxp6-route.html
    hcQXP6Conditions = 440, // qxp6-conditions.html
    hcORB4Board = 500, // orb4-board.html
    hcORBSignal = 520, // orb-signal.html
    hcORBZone = 530, // orb-zone.html
    hcORBConditions = 540, // orb-conditions.html
    hcORB8Board = 560, // orb8-board.html
    hcKPX9Board = 600, // kpx9.html
    hcKPX9Cell = 610, // kpx9-cell.html
    hcKPX9Route = 620, // kpx9-route.html
    hcRVN2Board = 700, // rvn2.html
    hcRVN2Sequence = 710, // rvn2-sequence.html
    hcRVN2Wizard = 720, // rvn2-wizard.html
};
