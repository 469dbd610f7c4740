// A stand-in for the Tessaly application, for the demo and the installer:
// it shows (in a window titled "Tessaly") and writes (to the file named by the system
// property tessaly.record) the arguments it received, its class path and its process id.
package org.quellmark.tessaly;

import java.awt.GraphicsEnvironment;
import java.nio.file.Files;
import java.nio.file.Path;
import javax.swing.JFrame;
import javax.swing.JList;
import javax.swing.JScrollPane;
import javax.swing.SwingUtilities;

public final class Main {
    public static void main(String[] args) throws Exception {
        StringBuilder record = new StringBuilder();
        record.append("pid=").append(ProcessHandle.current().pid()).append('\n');
        record.append("classpath=").append(System.getProperty("java.class.path")).append('\n');
        for (String arg : args) record.append("arg=").append(arg).append('\n');
        String file = System.getProperty("tessaly.record");
        if (file != null) Files.writeString(Path.of(file), record.toString());
        if (GraphicsEnvironment.isHeadless()) return;
        SwingUtilities.invokeLater(() -> {
            JFrame frame = new JFrame("Tessaly");
            frame.add(new JScrollPane(new JList<>(record.toString().split("\n"))));
            frame.setDefaultCloseOperation(JFrame.EXIT_ON_CLOSE);
            frame.setSize(640, 240);
            frame.setVisible(true);
        });
    }
}
