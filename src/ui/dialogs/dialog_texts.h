#pragma once
// Every text of the start-up boxes, the desktop launcher and the COM port dialog, kept once.

namespace korvath::ui::dialog_texts {

// --- About box
inline constexpr const char* kAboutCaption = "About The Korvath Tuning System";
inline constexpr const char* kVersionFormat = "The Korvath Tuning System, Version %d.%02d%c";
inline constexpr const char* kRightsNotice =
    "Copyright (C) 2002-2010 Ardexco\n"
    "All rights reserved.";
inline constexpr const char* kSafetyWarning =
    "Safety Warning: Using a laptop PC or similar device while driving a vehicle can be extremely dangerous. "
    "Please have an assistant make changes and operate the PC if you are tuning this system while driving on "
    "public roads or highways.";
inline constexpr const char* kLegalNotice =
    "This software is the exclusive property of Ardexco. It is licensed for use only together with "
    "Ardexco products. Ardexco accepts no liability for any damage that results from the use "
    "or misuse of this software.";
inline constexpr const char* kDisclaimer =
    "Because every aftermarket and performance application is custom, this software and the products it "
    "supports are sold without any warranty of fitness for a particular application or of merchantability. "
    "In no case does the liability of Ardexco exceed the purchase price of the product.";
inline constexpr const char* kShowAtStartupCheck = "Show this message at startup";
inline constexpr const char* kOkButton = "OK";

// --- Getting Started box
inline constexpr const char* kStartCaption = "Getting Started";
inline constexpr const char* kStartIntro =
    "To begin setting up your system, you can choose to either open an existing calibration file to use as a "
    "starting point, or you can create a new calibration from scratch.  If possible, please connect the "
    "controller to your PC and power it up before proceeding.";
inline constexpr const char* kStartOpenText =
    "To open an existing calibration file, please select the \"Open\" command from the file menu, or press the "
    "\"Open\" toolbar button.";
inline constexpr const char* kStartNewText =
    "To create a new calibration from scratch, please select the \"New\" command from the file menu, or press "
    "the \"New\" toolbar button.  After selecting the new file option, you will be prompted with a step-by-step "
    "setup wizard.";

// --- Desktop launcher
inline constexpr const char* kShortcutFileName = "The Korvath Tuning System.desktop";
inline constexpr const char* kShortcutName = "The Korvath Tuning System";
inline constexpr const char* kShortcutDescription =
    "The Korvath Tuning System is used to tune Torquell and Dravonix transmission control systems.";
// The icon's name in the desktop's icon theme, once the program is installed.
inline constexpr const char* kIconThemeName = "korvath";

// --- COM port dialog
inline constexpr const char* kComCaption = "COM Port Settings";
inline constexpr const char* kComIntro =
    "Select your controller communication (COM) port from the list below, or power-up the controller and press "
    "the \"Find Controller\" button.  If you are using a USB-to-Serial adapter, install it now, then click the "
    "\"Refresh Port List\" button.";
inline constexpr const char* kAvailablePorts = "Available COM Ports:";
inline constexpr const char* kFindController = "&Find Controller";
inline constexpr const char* kRefreshPortList = "&Refresh Port List";
inline constexpr const char* kHelpButton = "Help";
inline constexpr const char* kNoneEntry = "NONE <will select later>";
inline constexpr const char* kPortEntryFormat = "COM%d <%s>";
inline constexpr const char* kProbedPortFormat = "COM%d";

inline constexpr const char* kConfigErrorCaption = "Communication Port Configuration Error";
inline constexpr const char* kInternalErrorCaption = "Internal Program Error";
inline constexpr const char* kFinderUnavailable =
    "Could not initialize controller finder.  Please restart the program and try again.  If this problem "
    "persists, please call technical support.";
inline constexpr const char* kFoundCaption = "Communication Setup Successful!";
inline constexpr const char* kFoundFormat = "Found controller on COM%d.";
inline constexpr const char* kNotFoundCaption = "No Controller Found";
inline constexpr const char* kNotFoundText = "Could not find a controller on any available serial port.";
inline constexpr const char* kNoPortCaption = "No COM Port Available";
inline constexpr const char* kNoPortText =
    "No serial ports are installed in your PC.  Please install a serial port adapter and try again.";
inline constexpr const char* kHelpCaption = "Help";
inline constexpr const char* kHelpText =
    "This list shows all of the serial communication ports that are available on your system.  Please select "
    "the port that your controller is connected to.  If you are not sure which port the controller is "
    "connected to, you can power-up the controller and press the \"Find Controller\" button to automatically "
    "find the correct port.\n\nIf you are using a USB-to-Serial adapter, please make sure that it (as well as "
    "any required driver) is installed first, then click the \"Refresh Port List\" button.  Please refer to "
    "your USB-to-Serial adapter instructions for more information.\n\nIf you are not ready to select your "
    "serial port at this time, simply select \"NONE <will select later>\" from the list, and you will be "
    "prompted again when starting this program next time.  You can also select \"Communication Setup\" from "
    "the \"View\" menu to return to this window later.";

}  // namespace korvath::ui::dialog_texts
