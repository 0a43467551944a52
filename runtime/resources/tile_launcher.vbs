' Start-screen tile launcher, written by the setup for one tile.
' The setup fills in exactly one of the two values below: the web address
' of a pinned-site tile, or the program that the tile starts.
On Error Resume Next

Dim webLink, exePath
webLink = "[#WEB_LINK#]"
exePath = "[#EXE_PATH#]"

' A value still holding its placeholder was never filled in. The
' placeholders are spelt in two pieces here so that filling in the values
' above leaves these comparisons alone.
If webLink <> "" And webLink <> "[#WEB" & "_LINK#]" Then
  CreateObject("Shell.Application").ShellExecute webLink
  WScript.Quit
End If

If exePath <> "" And exePath <> "[#EXE" & "_PATH#]" Then
  Dim fso
  Set fso = CreateObject("Scripting.FileSystemObject")
  If Not fso.FileExists(exePath) Then
    MsgBox exePath & " not found", 16, "Brindlecraft"
    WScript.Quit
  End If

  ' The tile's own arguments are passed on, each in double quotes.
  Dim args, i
  args = ""
  For i = 0 To WScript.Arguments.Count - 1
    If args <> "" Then args = args & " "
    args = args & """" & WScript.Arguments(i) & """"
  Next

  If LCase(Right(exePath, 4)) = ".vbs" Then
    If args <> "" Then args = " " & args
    CreateObject("WScript.Shell").Run """" & exePath & """" & args
  Else
    CreateObject("Shell.Application").ShellExecute exePath, args
  End If
End If
