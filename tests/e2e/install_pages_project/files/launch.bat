@echo launched> "%~dp0launched.txt"
