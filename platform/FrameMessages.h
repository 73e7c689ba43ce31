#pragma once
// The command messages that the core, the dialogs and the panes send to the main frame through
// Ui().SendToFrame. The numbers are the frame's message numbers, counted from the first number
// left free for the application (0x8000); wParam and lParam are 0 unless a message says otherwise.

inline constexpr unsigned kFrameMsgBase = 0x8000;

enum class FrameMsg : unsigned {
  // A step of the flow pane was entered.
  WM_APP_STAGE1 = kFrameMsgBase + 100,
  WM_APP_STAGE2 = kFrameMsgBase + 200,
  WM_APP_STAGE3 = kFrameMsgBase + 300,
  WM_APP_STAGE4 = kFrameMsgBase + 400,

  // Step 1: basic conditions. A close message carries 1 after OK and 0 after cancel.
  WM_CMD_COMMON_JOBSITE = kFrameMsgBase + 101,
  WM_CMD_COMMON_SHAPE_SHOW = kFrameMsgBase + 102,
  WM_CMD_COMMON_SHAPE_CLOSE = kFrameMsgBase + 103,
  WM_CMD_COMMON_POLYGON = kFrameMsgBase + 104,
  WM_CMD_COMMON_SOIL = kFrameMsgBase + 105,

  // Step 2: multi-plane stability.
  WM_CMD_STAB_PATTERN_SHOW = kFrameMsgBase + 201,
  WM_CMD_STAB_PATTERN_CLOSE = kFrameMsgBase + 202,
  WM_CMD_STAB_BLOCK_SHOW = kFrameMsgBase + 203,
  WM_CMD_STAB_BLOCK_CLOSE = kFrameMsgBase + 204,
  WM_CMD_STAB_GYAKU = kFrameMsgBase + 205,
  WM_CMD_STAB_STABILITY = kFrameMsgBase + 206,
  // The circle-search conditions: the dialog's close notice (1 after OK, 0 after cancel), its
  // requests for the pass-line and the not-pass-line dialog, and the line dialog's close notice.
  WM_CMD_STAB_ARC_CLOSE = kFrameMsgBase + 207,
  WM_CMD_STAB_ARC_PASS_SHOW = kFrameMsgBase + 208,
  WM_CMD_STAB_ARC_PASS_NOT_SHOW = kFrameMsgBase + 209,
  WM_CMD_STAB_ARC_PASS_CLOSE = kFrameMsgBase + 210,
  // The surface-load dialog ended (1 after OK, 0 after cancel); no command opens it.
  WM_CMD_STAB_LOAD_CLOSE = kFrameMsgBase + 211,

  // Step 3: slide deformation.
  WM_CMD_SLIDE_ELEMENT = kFrameMsgBase + 301,
  WM_CMD_SLIDE_ARRANGE_SHOW = kFrameMsgBase + 302,
  WM_CMD_SLIDE_ARRANGE_CLOSE = kFrameMsgBase + 303,
  WM_CMD_SLIDE_PATTERN = kFrameMsgBase + 304,
  WM_CMD_SLIDE_STABILITY = kFrameMsgBase + 305,

  // Step 4: shear deformation.
  WM_CMD_SHEAR_ELEMENT = kFrameMsgBase + 401,
  WM_CMD_SHEAR_ARRANGE_SHOW = kFrameMsgBase + 402,
  WM_CMD_SHEAR_ARRANGE_CLOSE = kFrameMsgBase + 403,
  WM_CMD_SHEAR_FIT = kFrameMsgBase + 404,
  WM_CMD_SHEAR_STABILITY = kFrameMsgBase + 405,
  WM_CMD_SHEAR_FOCUS = kFrameMsgBase + 406,

  // The section view shows the active case anew.
  WM_APP_REDRAW = kFrameMsgBase + 1000,

  // Cases: wParam of WM_APP_CASE_SELECT is the case index 0..9.
  WM_APP_INFO_REFRESH = kFrameMsgBase + 1020,
  WM_APP_CASE_SELECT = kFrameMsgBase + 1021,
  WM_APP_CASE_CLEAR = kFrameMsgBase + 1022,
  WM_APP_CASE_COPY = kFrameMsgBase + 1023,
  WM_APP_CASE_INFO = kFrameMsgBase + 1025,

  // Display switches: wParam is 0 (normal) or 1 (seismic), and the check state 0 or 1.
  WM_APP_SHOW_QUAKE = kFrameMsgBase + 1030,
  WM_APP_SHOW_BLOCKS_ONLY = kFrameMsgBase + 1031,

  // Output requests: wParam of WM_APP_PRINT_WORD is the report kind 1..3, lParam the sub-kind of
  // kind 3; WM_APP_EXPORT_CAD carries 1.
  WM_APP_PRINT_WORD = kFrameMsgBase + 1040,
  WM_APP_PRINT_EXCEL = kFrameMsgBase + 1041,
  WM_APP_EXPORT_CAD = kFrameMsgBase + 1051,
};
