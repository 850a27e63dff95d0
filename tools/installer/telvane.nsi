; The per-user installer of telvane, made by tools/package with Debian's makensis:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.2.3 -DSTAGE=DIR -DSHIPPED=FILE -DICON=FILE -DOUTFILE=FILE telvane.nsi
; STAGE holds exactly what the program folder gets (the programs, the language modules, the
; skins); SHIPPED is an include that deletes those same files again, for the uninstaller.
;
; telvane keeps its settings, tariffs and logs beside telvane.exe, so it goes where the user may
; write: %LOCALAPPDATA%\Programs\telvane, without administrator rights. An upgrade only
; overwrites the shipped files; the uninstaller deletes only them, and the user's files with them
; only when asked to.

Unicode true
; The programs are 64-bit, and so is the installer: it runs wherever they run.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT telvane
!define PUBLISHER "The telvane developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define WINDOW_CLASS "VekMwCl"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=0 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 FileVersion "${VERSION}"
VIAddVersionKey /LANG=0 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=0 FileDescription "${PRODUCT} setup"
VIAddVersionKey /LANG=0 LegalCopyright "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\telvane.exe"
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The installer speaks the system's language when it is one of these, English otherwise.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString WelcomeText ${LANG_ENGLISH} "Setup will install telvane ${VERSION} for you alone into $INSTDIR. It needs no administrator rights.$\r$\n$\r$\nIf telvane is installed there already, your settings, tariffs, logs and own skins are kept.$\r$\n$\r$\nClick Next to continue."
LangString WelcomeText ${LANG_GERMAN} "Setup installiert telvane ${VERSION} nur für Sie nach $INSTDIR. Dazu sind keine Administratorrechte nötig.$\r$\n$\r$\nIst telvane dort schon installiert, bleiben Ihre Einstellungen, Tarife, Protokolle und eigenen Skins erhalten.$\r$\n$\r$\nKlicken Sie auf Weiter, um fortzufahren."
LangString ProgramSection ${LANG_ENGLISH} "telvane and rimcutter"
LangString ProgramSection ${LANG_GERMAN} "telvane und rimcutter"
LangString AutostartSection ${LANG_ENGLISH} "Start telvane when Windows starts"
LangString AutostartSection ${LANG_GERMAN} "telvane beim Start von Windows starten"
LangString DeleteDataSection ${LANG_ENGLISH} "Also delete my logs and tariffs"
LangString DeleteDataSection ${LANG_GERMAN} "Auch meine Protokolle und Tarife löschen"
LangString RemoveSection ${LANG_ENGLISH} "Remove telvane"
LangString RemoveSection ${LANG_GERMAN} "telvane entfernen"
LangString Running ${LANG_ENGLISH} "telvane is running. Exit it (menu button, Exit), then choose Retry."
LangString Running ${LANG_GERMAN} "telvane läuft. Beenden Sie es (Menüknopf, Beenden) und wählen Sie dann Wiederholen."

; A running telvane holds its program file open and would write its files while they change.
!macro waitForTelvaneToExit
    FindWindow $0 "${WINDOW_CLASS}"
    ${While} $0 != 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(Running)" /SD IDCANCEL IDRETRY +3
        SetErrorLevel 2
        Quit
        FindWindow $0 "${WINDOW_CLASS}"
    ${EndWhile}
!macroend

Section "$(ProgramSection)" ProgramSection
    SectionIn RO
    !insertmacro waitForTelvaneToExit
    SetOutPath "$INSTDIR"
    ; Only the shipped files: the user's settings, tariffs, alerts, adapters, logs and own skins
    ; beside them stay as they are.
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\telvane.lnk" "$INSTDIR\telvane.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\rimcutter.lnk" "$INSTDIR\rimcutter.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\telvane.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The same value the General page of telvane's options sets: the quoted path of the program.
Section "$(AutostartSection)" AutostartSection
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\telvane.exe"'
SectionEnd

Section "un.$(RemoveSection)"
    SectionIn RO
    !insertmacro waitForTelvaneToExit
    !include "${SHIPPED}"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${PRODUCT}\telvane.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\rimcutter.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"

    ; Another copy's autostart (a portable one) is that copy's.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
    ${If} $0 == '"$INSTDIR\telvane.exe"'
        DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; An upgrade keeps the user's choice: telvane installed before without its autostart value (the
; user unticked it on the General page) stays so unless the box is ticked again.
Function .onInit
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        ReadRegStr $1 HKCU "${RUN_KEY}" "${PRODUCT}"
        ${If} $1 != '"$0\telvane.exe"'
            SectionSetFlags ${AutostartSection} 0
        ${EndIf}
    ${EndIf}
FunctionEnd

; Off unless ticked, and so in a silent uninstall: the logs are what the user paid for. The
; user's own skins stay even then.
Section /o "un.$(DeleteDataSection)"
    Delete "$INSTDIR\*.zip"
    Delete "$INSTDIR\*.damaged"
    Delete "$INSTDIR\*.tmp"
SectionEnd

; Last: the folder goes only when nothing of the user's is left in it.
Function un.onUninstSuccess
    RMDir "$INSTDIR"
FunctionEnd
