#pragma once
// rimcutter's menu and its commands; shared by the resource script and the window. Plain
// defines, so that the resource compiler reads them too.
#define kRegionToolMenu 101

#define kCommandOpenPicture 40001
#define kCommandExit 40002
#define kCommandZoom100 40003
#define kCommandZoom200 40004
#define kCommandZoom400 40005
#define kCommandPolyline 40006
#define kCommandEllipse 40007
#define kCommandRectangle 40008
#define kCommandCopyOfLast 40009
#define kCommandSaveRegion 40010
#define kCommandDeleteAll 40011
#define kCommandZoomFit 40012
#define kCommandRemoveLast 40013
#define kCommandCopyRegion 40014
