# windows and sound: added with the main window
