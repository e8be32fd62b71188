import java.awt.Color;
import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.net.URL;
import java.nio.file.Files;

import javax.imageio.ImageIO;

/**
 * A temporary web site for the applet: the page lives in site/page/, the class files'
 * code base is site/classes/, and test pictures are written on request. Removed at exit.
 */
class Workspace {
    final File root;
    final File page;
    final URL documentBase;
    final URL codeBase;

    Workspace() throws IOException {
        root = Files.createTempDirectory("quilanim-test").toFile();
        page = new File(root, "page");
        File classes = new File(root, "classes");
        if (!page.mkdirs() || !classes.mkdirs())
            throw new IOException("cannot create " + root);
        documentBase = new File(page, "index.htm").toURI().toURL();
        codeBase = classes.toURI().toURL();
        Runtime.getRuntime().addShutdownHook(new Thread(new Runnable() {
            public void run() {
                delete(root);
            }
        }));
    }

    /** Writes a solid picture below the page's folder; format "gif" or "jpeg". */
    File picture(String relative, int width, int height, Color colour, String format) throws IOException {
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        Graphics2D g = image.createGraphics();
        g.setColor(colour);
        g.fillRect(0, 0, width, height);
        g.dispose();
        return write(relative, image, format);
    }

    File write(String relative, BufferedImage image, String format) throws IOException {
        File file = new File(page, relative);
        File folder = file.getParentFile();
        if (!folder.isDirectory() && !folder.mkdirs())
            throw new IOException("cannot create " + folder);
        if (!ImageIO.write(image, format, file))
            throw new IOException("no " + format + " writer");
        return file;
    }

    /** A file below the page's folder with the given bytes (sound files and the like). */
    File file(String relative, byte[] bytes) throws IOException {
        File file = new File(page, relative);
        File folder = file.getParentFile();
        if (!folder.isDirectory() && !folder.mkdirs())
            throw new IOException("cannot create " + folder);
        Files.write(file.toPath(), bytes);
        return file;
    }

    HarnessHost host() {
        return new HarnessHost(documentBase, codeBase);
    }

    static void delete(File file) {
        File[] children = file.listFiles();
        if (children != null) {
            for (File child : children)
                delete(child);
        }
        file.delete();
    }
}
